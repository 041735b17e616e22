#!/usr/bin/env bash
# Builds every tree and runs every test: the native suite, the native suite
# under AddressSanitizer and UndefinedBehaviorSanitizer, the fuzz targets for
# a short while, the Windows suite under Wine in both Windows families, and
# the end-to-end cases natively and under Wine.
#
#   tools/test.sh            (from the repository's top; build trees in build/)
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build
cd "$top"
bash tools/setup.sh || exit 1
source tools/wine.sh
qm_wine_init "$build"

passed=0
failed=0
failures=()
logs=$build/logs
mkdir -p "$logs"

configure() {  # configure TREE [cmake args...]
  local tree=$1
  shift
  [ -f "$build/$tree/build.ninja" ] ||
    cmake -S "$top" -B "$build/$tree" -G Ninja "$@" > "$logs/$tree-configure.log" 2>&1 ||
    { cat "$logs/$tree-configure.log"; return 1; }
}

compile() {  # [targets=...] compile TREE [cmake args...]; every target by default
  echo "== building $1"
  local start=$SECONDS
  # shellcheck disable=SC2086  # targets is a list of words
  configure "$@" && ninja -C "$build/$1" ${targets:-} > "$logs/$1-build.log" 2>&1 ||
    { tail -40 "$logs/$1-build.log"; echo "build of $1 failed"; exit 1; }
  echo "($((SECONDS - start)) s)"
}

# gtest SUITE COMMAND...: runs a GoogleTest program and counts its tests.
gtest() {
  local suite=$1
  shift
  echo "== $suite"
  local start=$SECONDS
  "$@" > "$logs/$suite.log" 2>&1
  local status=$?
  echo "($((SECONDS - start)) s)"
  local ok bad
  ok=$(grep -c '^\[       OK \]' "$logs/$suite.log")
  bad=$(grep -c '^\[  FAILED  \] [A-Za-z0-9_/]*\.[A-Za-z0-9_/]* (' "$logs/$suite.log")
  grep -E '^\[  (PASSED|FAILED|SKIPPED) +\] [0-9]|: Failure$' "$logs/$suite.log" | head -20
  if [ "$status" -ne 0 ] && [ "$bad" -eq 0 ]; then
    bad=1  # the program itself failed (a crash, a sanitizer report)
    tail -30 "$logs/$suite.log"
  fi
  passed=$((passed + ok))
  failed=$((failed + bad))
  [ "$bad" -eq 0 ] || failures+=("$suite")
}

# script SUITE COMMAND...: runs a checking script that ends with its counts.
script() {
  local suite=$1
  shift
  echo "== $suite"
  local start=$SECONDS
  "$@" > "$logs/$suite.log" 2>&1
  local status=$?
  echo "($((SECONDS - start)) s)"
  grep -v '^ok ' "$logs/$suite.log"
  local counts
  counts=$(tail -1 "$logs/$suite.log")
  local ok=${counts#*: }
  ok=${ok%% passed*}
  local bad=${counts#*passed, }
  bad=${bad%% failed*}
  [[ $ok =~ ^[0-9]+$ ]] || ok=0
  [[ $bad =~ ^[0-9]+$ ]] || bad=1
  [ "$status" -eq 0 ] || [ "$bad" -gt 0 ] || bad=1
  passed=$((passed + ok))
  failed=$((failed + bad))
  [ "$bad" -eq 0 ] || failures+=("$suite")
}

# The suites expect English texts unless a test asks for another language.
export LC_ALL=C.UTF-8 LANG=C.UTF-8
unset LC_MESSAGES LANGUAGE

# The native tree is built as tools/run.sh builds the launcher users run
# (optimised, where the compiler warns of more), and also holds the benchmark
# programs, whose smoke run below keeps them working without a tree of their own.
compile native -DCMAKE_BUILD_TYPE=Release -DQM_BENCH=ON
compile sanitize -DCMAKE_BUILD_TYPE=Debug -DQM_SANITIZE=ON
# Optimised a little, as fuzzing wants: at -O0 the targets ran 4 to 12
# times slower. tools/fuzz.sh configures the same tree the same way.
compile fuzz -DCMAKE_BUILD_TYPE=Debug -DQM_FUZZ=ON -DQM_TESTS=OFF \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  "-DCMAKE_CXX_FLAGS=-O1 -fsanitize=fuzzer-no-link,address,undefined"
# The shipped 32-bit programs as users get them: built by the -win32
# thread-model compilers, whose runtime loads on every Windows promised.
targets="qmlauncher qmpack" compile win32-shipped -DCMAKE_BUILD_TYPE=Release -DQM_TESTS=OFF \
  -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw32-shipped.cmake"
if [ "$QM_WINE_BITS" = 64 ]; then
  echo "NOTE: this machine cannot execute 32-bit programs (32-bit emulation is off in its"
  echo "      kernel), so the Windows suite runs the same sources built as a 64-bit Windows"
  echo "      program under 64-bit Wine; the shipped 32-bit launcher is checked statically"
  echo "      (its imports, its size)."
  compile win64 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw64.cmake"
else
  compile win32 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw32.cmake"
fi

script floors tools/check_floors.sh "$top/src"
script imports tools/check_imports.sh "$build/win32-shipped/qmlauncher.exe"
gtest native "$build/native/qmtests"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  gtest sanitize "$build/sanitize/qmtests"

for target in "$build"/fuzz/*_fuzz; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus=$(mktemp -d)
  # The kept corpus (grown by tools/fuzz.sh) is replayed first, then fuzzed on.
  cp -r "$top/tests/fuzz/corpus/$name/." "$corpus" 2> /dev/null
  script "fuzz-$name" bash -c "'$target' -max_total_time=${QM_FUZZ_SECONDS:-5} '$corpus' \
    > /dev/null 2>'$logs/$name.out' && echo '$name: 1 passed, 0 failed' ||
    { tail -30 '$logs/$name.out'; echo '$name: 0 passed, 1 failed'; }"
  rm -rf "$corpus"
done

nt_prefix=$(qm_wine_prefix nt)
win98_prefix=$(qm_wine_prefix win98 win98)
gtest "wine-nt" qm_wine "$nt_prefix" "$QM_WIN_TREE/qmtests.exe"
gtest "wine-win98" qm_wine "$win98_prefix" "$QM_WIN_TREE/qmtests.exe"

for suite in launcher options; do
  name=${suite/launcher/e2e}
  script "$name-native" tests/e2e/${suite}_e2e.sh native "$build/native/qmlauncher" "$build/native/qmpack"
  for family in nt win98; do
    prefix_var=${family}_prefix
    script "$name-wine-$family" tests/e2e/${suite}_e2e.sh wine "$QM_WIN_TREE/qmlauncher.exe" \
      "$build/native/qmpack" "${!prefix_var}"
  done
done
script concurrency-native tests/e2e/concurrency.sh native "$build/native/qmlauncher" "$build/native/qmpack"
script signals-native tests/e2e/signals.sh native "$build/native/qmlauncher" "$build/native/qmpack"
for family in nt win98; do
  prefix_var=${family}_prefix
  script "concurrency-wine-$family" tests/e2e/concurrency.sh wine "$QM_WIN_TREE/qmlauncher.exe" \
    "$build/native/qmpack" "${!prefix_var}"
done
# The shipped 32-bit launcher with a 64-bit JDK, as on 64-bit Windows.
if [ "$QM_WINE_BITS" = 32 ]; then
  script wow64-wine tests/e2e/wow64.sh wine "$build/win32-shipped/qmlauncher.exe" \
    "$build/native/qmpack" "$(qm_wow64_prefix)"
else
  echo "NOTE: no 32-bit programs run here: the 32-bit launcher with a 64-bit JDK is not tried"
fi
script bench-smoke env QM_BENCH_BUILD="$build/native" QM_BENCH_WIN32_TREE="$build/win32-shipped" tools/bench.sh --smoke
script docs tests/docs/doc_examples.sh "$build/native"

echo
[ ${#failures[@]} -eq 0 ] || echo "failed suites: ${failures[*]}"
echo "time: $SECONDS s in all"
echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
