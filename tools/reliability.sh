#!/usr/bin/env bash
# The reliability checks that take too long for the test command:
#  1. the native end-to-end suites with every launcher run under valgrind's
#     memcheck; a run with a memory error or a definite leak fails a check of
#     its own (and exits 97, which also fails the suite's exit-code checks);
#  2. the launcher's peak memory and time while the program it launches
#     writes a gigabyte to standard output.
#
#   tools/reliability.sh [memcheck|output]...   (from the repository's top;
#                                                both steps by default)
#
# QM_RELIABILITY_BUILD  the native tree (default build/native, built here)
# QM_RELIABILITY_LOGS   where the logs go (default build/logs/reliability)
# QM_OUTPUT_BYTES       what the program writes in step 2 (default 1 GiB;
#                       it takes a while, as the launcher reads a pipe only
#                       as fast as the pipe's capacity per pause of its polling)
#
# Ends with "reliability: N passed, N failed".
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
source "$top/tests/e2e/fake_product.sh"
cd "$top"
tree=${QM_RELIABILITY_BUILD:-$top/build/native}
logs=${QM_RELIABILITY_LOGS:-$top/build/logs/reliability}
mkdir -p "$logs"
steps=("$@")
[ ${#steps[@]} -gt 0 ] || steps=(memcheck output)
export LC_ALL=C.UTF-8 LANG=C.UTF-8
unset LC_MESSAGES LANGUAGE

command -v valgrind > /dev/null || apt-get install -y valgrind > /dev/null
[ -f "$tree/build.ninja" ] ||
  cmake -S "$top" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Debug > "$logs/configure.log" 2>&1 ||
  { cat "$logs/configure.log"; exit 1; }
ninja -C "$tree" > "$logs/build.log" 2>&1 || { tail -40 "$logs/build.log"; exit 1; }

passed=0
failed=0
check() {
  local name=$1 expected=$2 actual=$3
  if [ "$expected" = "$actual" ]; then
    passed=$((passed + 1))
    echo "ok   $name"
  else
    failed=$((failed + 1))
    echo "FAIL $name"
    echo "     expected: $expected"
    echo "     actual:   $actual"
  fi
}

memcheck() {
  local reports=$logs/memcheck
  rm -rf "$reports"
  mkdir -p "$reports"
  export QM_E2E_WRAPPER="valgrind --error-exitcode=97 --leak-check=full
    --errors-for-leak-kinds=definite --show-leak-kinds=definite -q
    --log-file=$reports/%p.log"
  local suite
  for suite in tests/e2e/*_e2e.sh tests/e2e/concurrency.sh; do
    local name
    name=$(basename "$suite" .sh)
    local start=$SECONDS
    bash "$suite" native "$tree/qmlauncher" "$tree/qmpack" > "$logs/$name.log" 2>&1
    local status=$?
    echo "   $(tail -1 "$logs/$name.log") under memcheck ($((SECONDS - start)) s)"
    grep '^FAIL' "$logs/$name.log"
    check "$name passes with every launcher under memcheck" 0 "$status"
  done
  unset QM_E2E_WRAPPER
  local runs reported
  runs=$(find "$reports" -name '*.log' | wc -l)
  reported=$(find "$reports" -name '*.log' -size +0 | wc -l)
  echo "   $runs launcher runs under memcheck"
  check "memcheck ran the launcher" yes "$([ "$runs" -gt 0 ] && echo yes)"
  check "memcheck reports nothing for any launcher run" 0 "$reported"
  find "$reports" -name '*.log' -size +0 -exec head -30 {} \;
}

output() {
  local bytes=${QM_OUTPUT_BYTES:-1073741824}
  local work
  work=$(mktemp -d)
  mkdir -p "$work/temp"
  # The fake JVM answers the verifier, and as the program writes the bytes.
  fake_java "$work/jdk" "head -c $bytes /dev/zero | tr '\\0' x; exit 3"
  pack_fake_product "$tree/qmpack" "$tree/qmlauncher" "$work/product" "$work/jdk"
  /usr/bin/time -f '%M %e' -o "$work/usage" "$work/product" -qm:silent -qm:tempdir "$work/temp" \
    -qm:log "$work/run.log" -qm:javahome "$work/jdk" > /dev/null 2> "$work/stderr"
  local status=$?
  local peak seconds
  # GNU time puts a line about the exit status first.
  read -r peak seconds < <(tail -1 "$work/usage")
  echo "   program output $bytes bytes: launcher peak resident memory $((peak / 1024)) MiB," \
       "$seconds s, log $(($(stat -c %s "$work/run.log") / 1024)) KiB"
  grep 'too long to keep whole' "$work/run.log" | sed 's/^/   log: /'
  check "the run ends with the program's exit code" 3 "$status"
  check "the launcher's memory stays below 64 MiB" yes "$([ "$peak" -lt 65536 ] && echo yes)"
  check "the log says how much output was left out" 1 "$(grep -c 'standard output was too long' "$work/run.log")"
  check "the temp root is empty afterwards" "" "$(ls -A "$work/temp")"
  rm -rf "$work"
}

for step in "${steps[@]}"; do
  echo "== $step"
  "$step"
done
echo "reliability: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
