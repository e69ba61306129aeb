#!/usr/bin/env bash
# Runs every fuzz target for a set time each, from the committed seed corpus.
#
#   tools/fuzz.sh BUILD_DIR [SECONDS [TARGET...]]   (SECONDS per target, default 60; all targets
#                                                    unless some are named, e.g. core regress)
#
# SECONDS = 0 replays the committed corpus once, without mutating it: a deterministic check that
# no input which once ran cleanly now fails. It then checks that every committed input starts with
# the exact key of its row, so that rows added to a table leave it where it is
# (tools/fuzz_corpus.py check).
#
# An input's first 4 bytes pick its row by key (fuzz/fuzz_table.h). To commit what a run found,
# `make fuzz-merge` (tools/fuzz_corpus.py merge) minimises the committed corpus together with
# BUILD_DIR/corpus and rewrites every kept input to the exact key of its row.
#
# New inputs go to BUILD_DIR/corpus/<target> (the committed fuzz/corpus/<target> is only read),
# crashes, leaks and hangs to BUILD_DIR/findings/. A call that runs over 1 s is a hang. The run
# fails at the first target with a finding; the last lines of its log say which row and input.
set -euo pipefail
build=${1:?usage: tools/fuzz.sh BUILD_DIR [SECONDS [TARGET...]]}
seconds=${2:-60}
shift $(( $# < 2 ? $# : 2 ))
cd "$(dirname "$0")/.."

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
mkdir -p "${build}/findings"
total=0
binaries=("${build}"/fuzz/lumex_fuzz_*)
if (( $# > 0 )); then binaries=("${@/#/${build}/fuzz/lumex_fuzz_}"); fi
for binary in "${binaries[@]}"; do
  target=$(basename "${binary}")
  target=${target#lumex_fuzz_}
  corpus="${build}/corpus/${target}"
  mkdir -p "${corpus}"
  log="${build}/findings/${target}.log"
  # A replay judges crashes and reports, not speed: it allows 5 s a call on a busy machine.
  if (( seconds > 0 )); then
    budget=(-max_total_time="${seconds}" -timeout=1)
  else
    budget=(-runs=0 -timeout=5)
  fi
  if ! "${binary}" "${budget[@]}" -rss_limit_mb=2048 \
       -print_final_stats=1 -artifact_prefix="${build}/findings/${target}-" \
       "${corpus}" "fuzz/corpus/${target}" > "${log}" 2>&1; then
    tail -n 40 "${log}"
    echo "fuzz: ${target} has a finding (log ${log})" >&2
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "${log}" | tail -n 1)
  total=$(( total + ${runs:-0} ))
  echo "fuzz: ${target}: ${runs:-0} executions, no finding"
done
echo "fuzz: ${total} executions in total"
if (( seconds == 0 )); then "${PYTHON:-python3}" tools/fuzz_corpus.py check "${build}" "$@"; fi
