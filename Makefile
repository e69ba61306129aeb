# Entry points: make demo | test | docs | bench | clean. Each one installs missing Debian packages
# (as root), configures its build folder the first time and then rebuilds only what changed.

BUILD       := build
BENCH_BUILD := build-bench
FUZZ_BUILD  := build-fuzz
FUZZ_SECONDS ?= 60
JOBS        ?= 2
CMAKE       ?= cmake
PYTHON      ?= /usr/bin/python3

MAKEFLAGS   += --no-print-directory

.PHONY: all demo test bench fuzz fuzz-merge clean deps deps-bench deps-fuzz docs

all: test

deps:
	@tools/deps.sh

deps-bench:
	@tools/deps.sh --bench

deps-fuzz:
	@tools/deps.sh --fuzz

# Configured once; afterwards `cmake --build` re-runs CMake by itself when a CMakeLists changes.
# A failed configure leaves no cache behind, so the next run configures again.
$(BUILD)/CMakeCache.txt: | deps
	$(CMAKE) -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release || { rm -f $@; exit 1; }

$(BENCH_BUILD)/CMakeCache.txt: | deps-bench
	$(CMAKE) -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DLUMEX_BUILD_BENCH=ON \
	  -DLUMEX_BUILD_TESTS=OFF -DLUMEX_BUILD_EXAMPLES=OFF || { rm -f $@; exit 1; }

# clang with libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer; the library is
# instrumented for coverage too (fuzzer-no-link).
$(FUZZ_BUILD)/CMakeCache.txt: | deps-fuzz
	$(CMAKE) -S . -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DLUMEX_SANITIZE=fuzzer-no-link,address,undefined -DLUMEX_BUILD_FUZZ=ON \
	  -DLUMEX_BUILD_TESTS=OFF -DLUMEX_BUILD_EXAMPLES=OFF || { rm -f $@; exit 1; }

demo: deps $(BUILD)/CMakeCache.txt
	$(CMAKE) --build $(BUILD) -j$(JOBS) --target lumex_demo
	$(BUILD)/examples/lumex_demo examples/data

test: deps $(BUILD)/CMakeCache.txt
	$(CMAKE) --build $(BUILD) -j$(JOBS)
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

# The reference manual: Doxygen over the public headers, docs/ and the examples into
# build-docs/html (docs/Doxyfile). Any warning fails the target, and the warnings are printed.
DOCS_BUILD := build-docs

docs: deps
	@mkdir -p $(DOCS_BUILD)
	@doxygen docs/Doxyfile > $(DOCS_BUILD)/doxygen.log 2>&1 || { \
	  cat $(DOCS_BUILD)/doxygen.log $(DOCS_BUILD)/warnings.txt; \
	  echo "make docs: failed, $$(grep -cE '(warning|error):' $(DOCS_BUILD)/warnings.txt)" \
	    "Doxygen warnings (above, and in $(DOCS_BUILD)/warnings.txt)"; exit 1; }
	@echo "make docs: the manual is $(DOCS_BUILD)/html/index.html"

# Each benchmark program bench/<family>_bench.cpp has its comparison bench/<family>_compare.py.
bench: deps-bench $(BENCH_BUILD)/CMakeCache.txt
	$(CMAKE) --build $(BENCH_BUILD) -j$(JOBS)
	@set -e; for script in bench/*_compare.py; do \
	  family=$$(basename $$script _compare.py); \
	  echo; echo "== $$family"; \
	  $(PYTHON) $$script $(BENCH_BUILD)/bench/lumex_bench_$$family; \
	done

# Every fuzz target (or those in FUZZ_TARGETS) for FUZZ_SECONDS each (default 60), from the
# committed seed corpus.
fuzz: deps-fuzz $(FUZZ_BUILD)/CMakeCache.txt
	$(CMAKE) --build $(FUZZ_BUILD) -j$(JOBS)
	tools/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# Minimises the committed corpus together with the inputs the last `make fuzz` found, on exact
# row keys (tools/fuzz_corpus.py); review and commit fuzz/corpus afterwards.
fuzz-merge: deps-fuzz $(FUZZ_BUILD)/CMakeCache.txt
	$(CMAKE) --build $(FUZZ_BUILD) -j$(JOBS)
	$(PYTHON) tools/fuzz_corpus.py merge $(FUZZ_BUILD) $(FUZZ_TARGETS)

# ThreadSanitizer: the libraries and the concurrency test (tests/concurrency), built in
# build-tsan and run so that any report fails. Only this program runs under TSan: it calls every
# family from eight threads at once, which is what TSan needs to see. g++ 12's TSan runtime
# cannot place its shadow memory when the kernel randomises mmap addresses with more than 28
# bits, so the program runs without address randomisation where setarch allows it.
TSAN_BUILD   := build-tsan
TSAN_RUN     := halt_on_error=1:second_deadlock_stack=1
NO_ASLR      := $(shell setarch $$(uname -m) -R true > /dev/null 2>&1 && echo setarch $$(uname -m) -R)

.PHONY: test-tsan

$(TSAN_BUILD)/CMakeCache.txt: | deps
	$(CMAKE) -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMEX_SANITIZE=thread \
	  -DLUMEX_BUILD_EXAMPLES=OFF || { rm -f $@; exit 1; }

test-tsan: deps $(TSAN_BUILD)/CMakeCache.txt
	$(CMAKE) --build $(TSAN_BUILD) -j$(JOBS) --target lumex_concurrency_tests
	TSAN_OPTIONS=$(TSAN_RUN) $(NO_ASLR) $(TSAN_BUILD)/tests/lumex_concurrency_tests

clean:
	rm -rf $(BUILD) $(BENCH_BUILD) $(FUZZ_BUILD) $(TSAN_BUILD) build-asan $(DOCS_BUILD)
