# Entry points: make demo | test | bench | clean. Each one installs missing Debian packages
# (as root), configures its build folder the first time and then rebuilds only what changed.

BUILD       := build
BENCH_BUILD := build-bench
JOBS        ?= 2
CMAKE       ?= cmake
PYTHON      ?= /usr/bin/python3

MAKEFLAGS   += --no-print-directory

.PHONY: all demo test bench clean deps deps-bench

all: test

deps:
	@tools/deps.sh

deps-bench:
	@tools/deps.sh --bench

# Configured once; afterwards `cmake --build` re-runs CMake by itself when a CMakeLists changes.
# A failed configure leaves no cache behind, so the next run configures again.
$(BUILD)/CMakeCache.txt: | deps
	$(CMAKE) -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release || { rm -f $@; exit 1; }

$(BENCH_BUILD)/CMakeCache.txt: | deps-bench
	$(CMAKE) -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DLUMEX_BUILD_BENCH=ON \
	  -DLUMEX_BUILD_TESTS=OFF -DLUMEX_BUILD_EXAMPLES=OFF || { rm -f $@; exit 1; }

demo: deps $(BUILD)/CMakeCache.txt
	$(CMAKE) --build $(BUILD) -j$(JOBS) --target lumex_demo
	$(BUILD)/examples/lumex_demo examples/data

test: deps $(BUILD)/CMakeCache.txt
	$(CMAKE) --build $(BUILD) -j$(JOBS)
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

# Each benchmark program bench/<family>_bench.cpp has its comparison bench/<family>_compare.py.
bench: deps-bench $(BENCH_BUILD)/CMakeCache.txt
	$(CMAKE) --build $(BENCH_BUILD) -j$(JOBS)
	@set -e; for script in bench/*_compare.py; do \
	  family=$$(basename $$script _compare.py); \
	  echo; echo "== $$family"; \
	  $(PYTHON) $$script $(BENCH_BUILD)/bench/lumex_bench_$$family; \
	done

clean:
	rm -rf $(BUILD) $(BENCH_BUILD) build-asan

# ThreadSanitizer: the libraries and the concurrency test (tests/concurrency), built in
# build-tsan and run so that any report fails. Only this program runs under TSan: it calls every
# family from eight threads at once, which is what TSan needs to see.
TSAN_BUILD   := build-tsan
TSAN_RUN     := halt_on_error=1:second_deadlock_stack=1

.PHONY: test-tsan clean-tsan

$(TSAN_BUILD)/CMakeCache.txt: | deps
	$(CMAKE) -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMEX_SANITIZE=thread \
	  -DLUMEX_BUILD_EXAMPLES=OFF || { rm -f $@; exit 1; }

test-tsan: deps $(TSAN_BUILD)/CMakeCache.txt
	$(CMAKE) --build $(TSAN_BUILD) -j$(JOBS) --target lumex_concurrency_tests
	TSAN_OPTIONS=$(TSAN_RUN) $(TSAN_BUILD)/tests/lumex_concurrency_tests

clean: clean-tsan
clean-tsan:
	rm -rf $(TSAN_BUILD)
