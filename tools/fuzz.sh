#!/usr/bin/env bash
# Long fuzzing of every libFuzzer target (or of the targets named), growing
# the corpora kept in tests/fuzz/corpus/<target>/ and minimising them
# afterwards so that they stay small; tools/test.sh replays them.
#
#   tools/fuzz.sh [TARGET...]        (from the repository's top)
#
# QM_FUZZ_RUNS     executions per target (default 10000000)
# QM_FUZZ_BUILD    the clang build tree (default build/fuzz, as tools/test.sh)
# QM_FUZZ_LOGS     where each target's output and working corpus go
#                  (default build/logs/fuzz)
# QM_FUZZ_SECONDS  a time limit per target, for a shorter session (none by
#                  default); the executions reached are reported either way
#
# Each target runs in one process, one after the other: the machine's cores
# are shared. A SIGINT to a target's process ends its session early; its
# corpus is still merged and its executions counted. A finding stops its target and leaves the input that caused it
# in the log directory as crash-*, leak-*, timeout-* or oom-*.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
runs=${QM_FUZZ_RUNS:-10000000}
# Short allocation stacks and a smaller quarantine: long sessions ran at half
# speed in the allocator's bookkeeping. A use after free is still caught while
# the block is among the last 16 MB freed; rerun a kept input with the
# defaults to read a report with full stacks.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=2:quarantine_size_mb=16:allocator_release_to_os_interval_ms=-1}
tree=${QM_FUZZ_BUILD:-$top/build/fuzz}
logs=${QM_FUZZ_LOGS:-$top/build/logs/fuzz}
mkdir -p "$logs"

[ -f "$tree/build.ninja" ] ||
  cmake -S "$top" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQM_FUZZ=ON -DQM_TESTS=OFF \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    "-DCMAKE_CXX_FLAGS=-O1 -fsanitize=fuzzer-no-link,address,undefined" > "$logs/configure.log" 2>&1 ||
  { cat "$logs/configure.log"; exit 1; }
ninja -C "$tree" > "$logs/build.log" 2>&1 || { tail -40 "$logs/build.log"; exit 1; }

if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for source in tests/fuzz/*_fuzz.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi

findings=0
for name in "${targets[@]}"; do
  target=$tree/$name
  [ -x "$target" ] || { echo "$name: not built"; findings=$((findings + 1)); continue; }
  corpus=$top/tests/fuzz/corpus/$name
  mkdir -p "$corpus"
  # The working copies live beside the logs, where no sweep of the system's
  # temporary directory can take them away halfway through a long run.
  grown=$logs/$name-grown
  minimal=$logs/$name-minimal
  rm -rf "$grown" "$minimal"
  mkdir -p "$grown" "$minimal"
  cp -p "$corpus"/. "$grown"/ -r 2> /dev/null
  limit=()
  [ -z "${QM_FUZZ_SECONDS:-}" ] || limit=(-max_total_time="$QM_FUZZ_SECONDS")
  start=$(date +%s)
  "$target" -runs="$runs" "${limit[@]}" -artifact_prefix="$logs/$name-" -print_final_stats=1 \
    "$grown" > "$logs/$name.log" 2>&1
  status=$?
  seconds=$(($(date +%s) - start))
  executions=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$logs/$name.log" | grep -o '[0-9]*$')
  before=$(find "$corpus" -type f | wc -l)
  # Keep only the inputs that add coverage.
  "$target" -merge=1 "$minimal" "$grown" > "$logs/$name-merge.log" 2>&1 &&
    { find "$corpus" -type f -delete; cp -p "$minimal"/. "$corpus"/ -r; }
  after=$(find "$corpus" -type f | wc -l)
  rm -rf "$grown" "$minimal"
  if [ "$status" -eq 0 ]; then
    echo "$name: ${executions:-?} executions in ${seconds}s, no finding; corpus $before -> $after inputs"
  elif grep -q 'libFuzzer: run interrupted' "$logs/$name.log"; then
    # Stopped early by SIGINT to the target: what ran is kept and counted.
    echo "$name: interrupted after ${executions:-?} executions in ${seconds}s, no finding;" \
      "corpus $before -> $after inputs"
  else
    findings=$((findings + 1))
    echo "$name: FINDING after ${executions:-?} executions (exit $status); see $logs/$name.log"
    grep -m3 -E '^==[0-9]+==ERROR|^SUMMARY|Test unit written' "$logs/$name.log"
  fi
done
echo "fuzz: ${#targets[@]} targets, $findings with findings"
[ "$findings" -eq 0 ]
