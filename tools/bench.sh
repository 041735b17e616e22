#!/usr/bin/env bash
# The benchmark suite: what the launcher itself costs, beside the floor that
# any program doing the same job would pay, measured in one run with the
# cases interleaved. Builds a Release native tree with the benchmark programs
# (bench/) and a Release Windows (i686) tree, and prints one table.
#
#   tools/bench.sh           full sizes, medians of QM_BENCH_RUNS (default 5) runs
#   tools/bench.sh --startup only the rows a user reads first (start-up against java
#                            itself, captured output against a plain pipe)
#   tools/bench.sh --smoke   tiny sizes, one run; ends with "bench: N passed, N failed"
#                            (passed: the row produced its numbers; never a timing target)
#
# Environment: QM_BENCH_BUILD (native tree, default build/bench),
# QM_BENCH_WIN32_TREE (an existing Release i686 Windows tree to take
# qmlauncher.exe from; default: build one beside the native tree),
# QM_BENCH_WORK (scratch directory, default a new one in /tmp, removed at the end),
# QM_BENCH_OUTPUT_MIB (what the program writes through a captured run, default 1024).
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
smoke= startup_only=
[ "${1:-}" = --smoke ] && smoke=1
[ "${1:-}" = --startup ] && startup_only=1
build=${QM_BENCH_BUILD:-$top/build/bench}
runs=${QM_BENCH_RUNS:-5}
[ -n "$smoke" ] && runs=1
passed=0
failed=0

# --- what the suite needs -----------------------------------------------------
missing=()
for package in cmake ninja-build g++ libbenchmark-dev g++-mingw-w64-i686; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "bench: installing ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  { apt-get update -qq && apt-get install -y -qq "${missing[@]}"; } > /dev/null ||
    { echo "bench: cannot install ${missing[*]}"; exit 1; }
fi

work=${QM_BENCH_WORK:-}
if [ -z "$work" ]; then
  work=$(mktemp -d /tmp/qm-bench.XXXXXX)
  trap 'rm -rf "$work"' EXIT
fi
mkdir -p "$work" "$work/logs"

# tree DIR [cmake args...]: configures (once) and builds a Release tree.
tree() {
  local dir=$1
  shift
  { [ -f "$dir/build.ninja" ] ||
      cmake -S "$top" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQM_TESTS=OFF "$@"; } \
    > "$work/logs/configure-$(basename "$dir").log" 2>&1 &&
    ninja -C "$dir" > "$work/logs/build-$(basename "$dir").log" 2>&1 ||
    { tail -30 "$work/logs/build-$(basename "$dir").log" "$work/logs/configure-$(basename "$dir").log";
      echo "bench: building $dir failed"; exit 1; }
}
echo "bench: building $build" >&2
tree "$build" -DQM_BENCH=ON
win32=${QM_BENCH_WIN32_TREE:-$build-win32}
if [ -z "${QM_BENCH_WIN32_TREE:-}" ]; then
  echo "bench: building $win32" >&2
  tree "$win32" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw32-shipped.cmake"
fi
measure=$build/bench/qm_measure

# --- helpers ------------------------------------------------------------------
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) print ""; else if (NR % 2) print v[(NR + 1) / 2]; else printf "%.0f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
field() { sed -n "s/.*\\b$1=\\(-\\?[0-9]*\\).*/\\1/p" "$2"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "" || b == "" || b == 0) print "-"; else printf "%.2f\n", a / b }'; }
ms() { awk -v u="$1" 'BEGIN { if (u == "") print "-"; else printf "%.2f ms\n", u / 1000 }'; }
mib() { awk -v k="$1" 'BEGIN { if (k == "") print "-"; else printf "%.2f MiB\n", k / 1024 }'; }
# verdict VALUE LIMIT le|ge: "met" or "missed".
verdict() { awk -v v="$1" -v l="$2" -v d="$3" 'BEGIN { if (v == "" || v == "-") print "-"; else if ((d == "le" && v <= l) || (d == "ge" && v >= l)) print "met"; else print "missed" }'; }
rows=()
row() { rows+=("$(printf '| %s | %s | %s | %s | %s | %s |' "$@")"); }
# counted NAME VALUE...: a row passes when every value is a number.
counted() {
  local name=$1 value
  shift
  for value in "$@"; do
    if ! [[ $value =~ ^-?[0-9]+(\.[0-9]+)?$ ]]; then
      failed=$((failed + 1))
      echo "FAIL $name: no number (${*})"
      return
    fi
  done
  passed=$((passed + 1))
  echo "ok   $name"
}

# --- the stand-in JVM and the packed sample launcher ----------------------------
samples=$top/samples
[ -f "$samples/instructions.txt" ] || samples=
mkdir -p "$work/jdk/bin" "$work/temp"
cp "$build/bench/qm_standin_java" "$work/jdk/bin/java"
verifier=$build/Verify.jar
[ -f "$verifier" ] || { verifier=$work/Verify.jar; printf 'stand-in' > "$verifier"; }
application=$build/samples/sample.jar
[ -f "$application" ] || { application=$work/sample.jar; head -c 65536 /dev/urandom > "$application"; }
if [ -n "$samples" ]; then
  instructions=$samples/instructions.txt launch=$samples/launch.txt
  jvm_entries=""
  id=3
  for version in 25 21 17 11 8; do
    jvm_entries+="  JVM $id \"$samples/jvm/linux-java$version.jvm\""$'\n'
    id=$((id + 1))
  done
  jvm_file=$samples/jvm/linux-java25.jvm
else
  fixtures=$top/tests/e2e/fixtures
  instructions=$fixtures/sample-instructions.txt launch=$fixtures/hello-launch.txt
  jvm_file=$work/bench.jvm
  sed 's/java\.version=\.\.\./java.specification.version=25/' "$fixtures/linux.jvm" > "$jvm_file"
  jvm_entries="  JVM 3 \"$jvm_file\""$'\n'
fi
cat > "$work/sample.manifest" <<MANIFEST
STUB: $build/qmlauncher
OUTPUT: $work/sample-launcher
ENTRIES:
  INSTRUCTIONS 0 "$instructions" name=instructions.txt
  VERIFIER_ARCHIVE 1 "$verifier" name=Verify.jar
  LAUNCHSCRIPT 2 "$launch" name=launch.txt
${jvm_entries}  APPLICATION_ARCHIVE 8 "$application" name=sample.jar
/:
MANIFEST
"$build/qmpack" "$work/sample.manifest" > /dev/null || { echo "bench: packing the sample failed"; exit 1; }

# --- 0. start-up and captured output, as a user meets them ---------------------------
# timed FILE COMMAND...: appends "wall_us cpu_us" of one run (CPU of the
# command and everything it waited for, from the shell's child times).
timed() {
  local file=$1 start end
  shift
  start=$(date +%s%N)
  local cpu
  cpu=$( ("$@" > /dev/null 2>&1; times) | tail -1 |
    awk '{ t = 0; for (i = 1; i <= 2; i++) { split($i, p, "m"); t += p[1] * 60 + p[2] } printf "%.0f\n", t * 1000000 }')
  end=$(date +%s%N)
  echo "$(( (end - start) / 1000 )) $cpu" >> "$file"
}
col() { awk -v c="$1" '{ print $c }' "$2" | median; }
plus_ms() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "" || b == "") print "-"; else printf "%+.1f ms\n", (a - b) / 1000 }'; }
echo "bench: start-up against java itself" >&2
export XDG_CACHE_HOME=$work/cache
: > "$work/s-direct" ; : > "$work/s-first" ; : > "$work/s-repeat" ; : > "$work/s-verifier"
"$work/sample-launcher" -qm:log "$work/startup-timed.log" hello > /dev/null 2>&1
# Without the time that begins each line.
sed -E 's/^[0-9-]{10}T[0-9:.]{12}Z //' "$work/startup-timed.log" > "$work/startup.log"
java_home=$(sed -n 's/^Matching JVM home is //p' "$work/startup.log" | head -1)
java_home=${java_home%/}
if [ -n "$samples" ] && [ -x "$java_home/bin/java" ] && [ -f "$build/Verify.jar" ]; then
  # The verifier runs of a first start, as the launcher made them, with the
  # verifier jar of the build in place of the one it extracted and removed.
  grep '^Executing launch script command: .* "Verify" ' "$work/startup.log" |
    sed -e 's/^Executing launch script command: //' -e 's/ in \(current \)\?working directory.*//' \
        -e "s|\"[^\"]*/Verify.jar\"|\"$build/Verify.jar\"|" > "$work/verifier-commands"
  verifier_runs=$(wc -l < "$work/verifier-commands")
  direct=("$java_home/bin/java" -Xms20m -Xmx60m -cp "$application" quillmark.sample.Main hello)
  for i in $(seq "$runs"); do
    timed "$work/s-direct" "${direct[@]}"
    rm -rf "$work/cache"
    timed "$work/s-first" "$work/sample-launcher" hello
    timed "$work/s-repeat" "$work/sample-launcher" hello
    : > "$work/one-verification"
    while IFS= read -r command; do timed "$work/one-verification" eval "$command"; done < "$work/verifier-commands"
    awk '{ w += $1 } END { print w + 0, 0 }' "$work/one-verification" >> "$work/s-verifier"
  done
  direct_wall=$(col 1 "$work/s-direct") direct_cpu=$(col 2 "$work/s-direct")
  first_wall=$(col 1 "$work/s-first") first_cpu=$(col 2 "$work/s-first")
  repeat_wall=$(col 1 "$work/s-repeat") repeat_cpu=$(col 2 "$work/s-repeat")
  verifier_wall=$(col 1 "$work/s-verifier")
  repeat_added=$(awk -v a="$repeat_wall" -v b="$direct_wall" 'BEGIN { print a - b }')
  first_added=$(awk -v a="$first_wall" -v b="$direct_wall" -v v="$verifier_wall" 'BEGIN { print a - b - v }')
  row "0. repeat start (cache warm), wall: the sample launcher vs java -cp sample.jar directly, same JDK" \
    "$(ms "$repeat_wall")" "$(ms "$direct_wall")" "$(ratio "$repeat_wall" "$direct_wall") ($(plus_ms "$repeat_wall" "$direct_wall"))" \
    "≤ +25 ms" "$(verdict "$repeat_added" 25000 le)"
  row "0. repeat start, CPU (launcher and its children)" "$(ms "$repeat_cpu")" "$(ms "$direct_cpu")" \
    "$(ratio "$repeat_cpu" "$direct_cpu")" "-" "-"
  row "0. first start (cache empty), wall; $verifier_runs verifier runs take $(ms "$verifier_wall") by themselves" \
    "$(ms "$first_wall")" "$(ms "$direct_wall")" "$(ratio "$first_wall" "$direct_wall") ($(plus_ms "$first_wall" "$direct_wall"))" \
    "≤ +verifier runs +25 ms" "$(verdict "$first_added" 25000 le)"
  row "0. first start, CPU (launcher and its children)" "$(ms "$first_cpu")" "$(ms "$direct_cpu")" \
    "$(ratio "$first_cpu" "$direct_cpu")" "-" "-"
  counted "start-up" "$direct_wall" "$first_wall" "$repeat_wall" "$verifier_wall"
else
  echo "bench: no JDK found by the sample launcher (or no samples); the start-up rows are left out"
fi
unset XDG_CACHE_HOME

# A program writing through a captured run against the same program writing
# into a plain pipe: what no capture can avoid.
if [ -n "$smoke" ]; then output_bytes=1048576; else output_bytes=$(( ${QM_BENCH_OUTPUT_MIB:-1024} * 1048576 )); fi
source "$top/tests/e2e/fake_product.sh"
fake_java "$work/writer" "head -c $output_bytes /dev/zero | tr '\\0' x"
pack_fake_product "$build/qmpack" "$build/qmlauncher" "$work/writer-launcher" "$work/writer" ||
  { echo "bench: packing the writer failed"; exit 1; }
: > "$work/o-captured" ; : > "$work/o-plain"
for i in $(seq "$runs"); do
  timed "$work/o-captured" "$work/writer-launcher" -qm:silent -qm:noverifycache -qm:tempdir "$work/temp" \
    -qm:javahome "$work/writer"
  timed "$work/o-plain" sh -c "'$work/writer/bin/java' run | cat > /dev/null"
done
captured_wall=$(col 1 "$work/o-captured") plain_wall=$(col 1 "$work/o-plain")
captured_ratio=$(ratio "$captured_wall" "$plain_wall")
row "0. $((output_bytes / 1048576)) MiB written by the program through a captured run vs through a plain pipe (wall)" \
  "$(ms "$captured_wall")" "$(ms "$plain_wall")" "$captured_ratio" "≤ 3×" "$(verdict "$captured_ratio" 3 le)"
counted "captured output" "$captured_wall" "$plain_wall"

if [ -z "$startup_only" ]; then
# --- 1. own cost of a default run ----------------------------------------------------
echo "bench: default run" >&2
: > "$work/run-cpu" ; : > "$work/run-rss" ; : > "$work/run-blocked" ; : > "$work/run-sleeps"
: > "$work/floor-cpu" ; : > "$work/floor-rss" ; : > "$work/floor-blocked"
: > "$work/own-repeat-cpu" ; : > "$work/empty-cpu"
(cd "$work" && XDG_CACHE_HOME=$work/own-cache "$work/sample-launcher" -qm:tempdir "$work/temp" \
   -qm:javahome "$work/jdk" > /dev/null 2>&1)
run_ok=1
for i in $(seq "$runs"); do
  "$measure" "$work/m" "$work/jdk/bin/java" quillmark.sample.Main > /dev/null 2>&1
  field cpu_us "$work/m" >> "$work/floor-cpu"; field rss_kib "$work/m" >> "$work/floor-rss"
  field blocked_us "$work/m" >> "$work/floor-blocked"
  : > "$work/mark"
  # With the verification cache bypassed: this row is the run that verifies.
  (cd "$work" && QM_BENCH_MARK=$work/mark "$measure" "$work/m" "$work/sample-launcher" \
     -qm:noverifycache -qm:tempdir "$work/temp" -qm:javahome "$work/jdk" > /dev/null 2>&1)
  # A run that did not verify and launch the stand-in measured something else.
  if [ "$(field exit "$work/m")" != 0 ] || [ "$(cut -d' ' -f1 "$work/mark" | paste -sd,)" != verifier,application ]; then
    run_ok=
    echo "bench: the default run did not verify and launch the stand-in: $(cat "$work/m") $(paste -sd, "$work/mark")"
  fi
  field cpu_us "$work/m" >> "$work/run-cpu"; field rss_kib "$work/m" >> "$work/run-rss"
  field blocked_us "$work/m" >> "$work/run-blocked"; field sleeps "$work/m" >> "$work/run-sleeps"
  # A repeat start (the cache filled before the loop), beside a program
  # that does nothing.
  (cd "$work" && XDG_CACHE_HOME=$work/own-cache "$measure" "$work/m" "$work/sample-launcher" \
     -qm:tempdir "$work/temp" -qm:javahome "$work/jdk" > /dev/null 2>&1)
  field cpu_us "$work/m" >> "$work/own-repeat-cpu"
  "$measure" "$work/m" "$build/bench/qm_empty_program"
  field cpu_us "$work/m" >> "$work/empty-cpu"
done
run_cpu=$(median < "$work/run-cpu") floor_cpu=$(median < "$work/floor-cpu")
run_rss=$(median < "$work/run-rss") floor_rss=$(median < "$work/floor-rss")
run_blocked=$(median < "$work/run-blocked") floor_blocked=$(median < "$work/floor-blocked")
run_sleeps=$(median < "$work/run-sleeps")
own_repeat_cpu=$(median < "$work/own-repeat-cpu") empty_cpu=$(median < "$work/empty-cpu")
own_above_empty=$(awk -v a="$own_repeat_cpu" -v b="$empty_cpu" 'BEGIN { if (a == "" || b == "") print ""; else print a - b }')
[ -n "$run_ok" ] || run_cpu=
row "1. default run: launcher's own CPU (user+system, children excluded)" "$(ms "$run_cpu")" \
  "$(ms "$floor_cpu")" "$(ratio "$run_cpu" "$floor_cpu")" "≤ 2 ms" "$(verdict "$run_cpu" 2000 le)"
row "1. repeat start: launcher's own CPU above a program that does nothing (children excluded)" \
  "$(ms "$own_repeat_cpu")" "$(ms "$empty_cpu")" "+$(ms "$own_above_empty")" "≤ +1 ms" "$(verdict "$own_above_empty" 1000 le)"
row "1. default run: launcher's peak resident memory" "$(mib "$run_rss")" "$(mib "$floor_rss")" \
  "$(ratio "$run_rss" "$floor_rss")" "≤ 4 MiB" "$(verdict "$run_rss" 4096 le)"
row "1. default run: time asleep or waiting (prescribed waits; $run_sleeps sleeps)" \
  "$(ms "$run_blocked")" "$(ms "$floor_blocked")" "$(ratio "$run_blocked" "$floor_blocked")" \
  "(100 ms polls + 500 ms pause)" "-"
counted "default run" "$run_cpu" "$run_rss" "$run_blocked" "$own_repeat_cpu" "$empty_cpu"

# --- 2. disk scan --------------------------------------------------------------------
echo "bench: generating the scan tree" >&2
if [ -n "$smoke" ]; then tops=2 subs=5 files=3; else tops=20 subs=999 files=10; fi
scan_tree=$work/disk homes_tree=$work/homes
mkdir -p "$scan_tree" "$homes_tree"
(
  cd "$scan_tree" || exit 1
  for t in $(seq -w 1 "$tops"); do
    mkdir "t$t"
    for f in $(seq "$files"); do echo "t$t/file$f.dat"; done
    seq -w 1 "$subs" | sed "s|^|t$t/d|" > "$work/subs"
    xargs mkdir < "$work/subs"
    for f in $(seq "$files"); do sed "s|\$|/file$f.dat|" "$work/subs"; done
  done | xargs touch
)
homes=("t01/jdk-a" "t$(seq -w 1 "$tops" | tail -1)/d$(seq -w 1 "$subs" | tail -1)/opt/jdk-b" \
       "t$(seq -w 1 "$tops" | sed -n 2p)/d$(seq -w 1 "$subs" | sed -n 3p)/jdk-c")
for home in "${homes[@]}"; do
  for base in "$scan_tree" "$homes_tree"; do
    mkdir -p "$base/$home/bin"
    cp "$work/jdk/bin/java" "$base/$home/bin/java"
  done
done
scan_dirs=$(find "$scan_tree" -type d | wc -l) scan_files=$(find "$scan_tree" -type f | wc -l)
cat > "$work/scan.tag" <<TAG
ACTION: SEARCH_ALL
JVM: "$jvm_file"
VERIFY_CLASSPATH: """$verifier"""
VERIFY_CLASS_NAME: """Verify"""
TAG
# scan_run RESULT DRIVE: SEARCH_ALL with DRIVE as the only fixed drive; the
# stand-in's starts are in $work/mark.
scan_run() {
  : > "$work/mark"
  (cd "$work" && QM_BENCH_MARK=$work/mark QM_BENCH_DRIVES=$2 "$measure" "$1" "$build/bench/qm_scan_launcher" \
     -qm:silent -qm:noverifycache -qm:tempdir "$work/temp" -qm:in "$work/scan.tag" > "$work/scan.out" 2>&1)
}
echo "bench: disk scan ($scan_files files in $scan_dirs directories)" >&2
find "$scan_tree" -name java > /dev/null
scan_run "$work/m" "$scan_tree"  # warms the cache
scan_ok=1
[ "$(head -1 "$work/scan.out")" = ${#homes[@]} ] ||
  { scan_ok=; echo "bench: SEARCH_ALL did not list the ${#homes[@]} homes: $(head -3 "$work/scan.out")"; }
: > "$work/find-wall" ; : > "$work/find-cpu" ; : > "$work/walk-wall" ; : > "$work/walk-cpu"
: > "$work/scan-wall"
for i in $(seq "$runs"); do
  "$measure" "$work/m" find "$scan_tree" -name java > /dev/null
  field wall_us "$work/m" >> "$work/find-wall"; field cpu_us "$work/m" >> "$work/find-cpu"
  scan_run "$work/big" "$scan_tree"
  [ "$(head -1 "$work/scan.out")" = ${#homes[@]} ] || scan_ok=
  # The homes are verified after the whole walk: the first verification's
  # start ends it.
  echo $(( $(head -1 "$work/mark" | cut -d' ' -f2) - $(field start_us "$work/big") )) >> "$work/walk-wall"
  scan_run "$work/small" "$homes_tree"
  [ "$(head -1 "$work/scan.out")" = ${#homes[@]} ] || scan_ok=
  field wall_us "$work/big" >> "$work/scan-wall"
  echo $(( $(field cpu_us "$work/big") - $(field cpu_us "$work/small") )) >> "$work/walk-cpu"
done
find_wall=$(median < "$work/find-wall") find_cpu=$(median < "$work/find-cpu")
walk_wall=$(median < "$work/walk-wall") walk_cpu=$(median < "$work/walk-cpu")
scan_wall=$(median < "$work/scan-wall")
[ -n "$scan_ok" ] || walk_wall=
walk_ratio=$(ratio "$walk_wall" "$find_wall")
row "2. disk scan: SEARCH_ALL from start to the end of the walk over $scan_files files in $scan_dirs dirs, vs find -name java (wall)" \
  "$(ms "$walk_wall")" "$(ms "$find_wall")" "$walk_ratio" "≤ 1.0×" "$(verdict "$walk_ratio" 1.0 le)"
row "2. disk scan: the walk's CPU (SEARCH_ALL minus SEARCH_ALL of the homes alone) vs find's CPU" "$(ms "$walk_cpu")" "$(ms "$find_cpu")" \
  "$(ratio "$walk_cpu" "$find_cpu")" "-" "-"
row "2. disk scan: whole SEARCH_ALL, verifying ${#homes[@]} homes, vs find" "$(ms "$scan_wall")" \
  "$(ms "$find_wall")" "$(ratio "$scan_wall" "$find_wall")" "-" "-"
counted "disk scan" "$walk_wall" "$find_wall" "$walk_cpu"

# --- 3. extraction ------------------------------------------------------------------
if [ -n "$smoke" ]; then megabytes=1; else megabytes=64; fi
echo "bench: extraction of $megabytes MB" >&2
head -c $((megabytes * 1048576)) /dev/urandom > "$work/app.jar"
cat > "$work/extract.manifest" <<MANIFEST
STUB: $build/qmlauncher
OUTPUT: $work/extract-launcher
ENTRIES:
  APPLICATION_ARCHIVE 0 "$work/app.jar"
/:
MANIFEST
"$build/qmpack" "$work/extract.manifest" > /dev/null || { echo "bench: packing failed"; exit 1; }
: > "$work/extract-wall" ; : > "$work/cp-wall"
extract_ok=1
mkdir -p "$work/out"
cat "$work/extract-launcher" "$work/app.jar" > /dev/null
# Writing 64 MB varies by a factor of two from run to run on a shared
# machine, so this row takes three times the runs.
for i in $(seq $((3 * runs + 1))); do
  rm -rf "$work/out" && mkdir "$work/out"
  (cd "$work/out" && "$measure" "$work/m" "$work/extract-launcher" -qm:silent -qm:extract > /dev/null 2>&1)
  cmp -s "$work/app.jar" "$work/out/app.jar" || extract_ok=
  [ "$i" -gt 1 ] && field wall_us "$work/m" >> "$work/extract-wall"  # the first run warms up
  rm -rf "$work/out" && mkdir "$work/out"
  "$measure" "$work/m" cp "$work/app.jar" "$work/out/app.jar"
  [ "$i" -gt 1 ] && field wall_us "$work/m" >> "$work/cp-wall"
done
rm -rf "$work/out"
extract_wall=$(median < "$work/extract-wall") cp_wall=$(median < "$work/cp-wall")
[ -n "$extract_ok" ] || { extract_wall=; echo "bench: -qm:extract did not write the archive whole"; }
throughput=$(ratio "$cp_wall" "$extract_wall")
row "3. extraction: -qm:extract of a $megabytes MB archive vs cp (throughput ratio)" \
  "$(ms "$extract_wall")" "$(ms "$cp_wall")" "$throughput" "≥ 0.9×" "$(verdict "$throughput" 0.9 ge)"
counted "extraction" "$extract_wall" "$cp_wall"

# --- 4. micro benchmarks ---------------------------------------------------------------
echo "bench: micro benchmarks" >&2
micro_args=(--benchmark_format=csv)
if [ -n "$smoke" ]; then
  micro_args+=(--benchmark_min_time=0.001)
else
  micro_args+=(--benchmark_repetitions="$runs" --benchmark_report_aggregates_only=true
               --benchmark_enable_random_interleaving=true)
fi
"$build/bench/qm_micro" "${samples:-$top/tests/e2e/fixtures}" "${micro_args[@]}" \
  > "$work/micro.csv" 2> "$work/logs/micro.log"
# cpu_time of a benchmark (its median when repeated), in ns.
micro() {
  awk -F, -v name="\"$1\"" -v median="\"$1_median\"" \
    '$1 == median { m = $4 } $1 == name { p = $4 } END { if (m != "") printf "%.0f\n", m; else if (p != "") printf "%.0f\n", p }' \
    "$work/micro.csv"
}
us() { awk -v n="$1" 'BEGIN { if (n == "") print "-"; else printf "%.1f µs\n", n / 1000 }'; }
for case in "LoadIndex5000:loading a 5,000-entry index" "ParseTagFile10000:parsing a 10,000-line tag file" \
            "ExpandSampleCommand:expanding the sample launch command" \
            "SubstituteScript1000:substituting variables in a 1,000-statement script"; do
  name=${case%%:*}
  value=$(micro "$name") floor=$(micro "${name}Floor")
  row "4. ${case#*:} (CPU; floor: one pass over the same bytes)" "$(us "$value")" "$(us "$floor")" \
    "$(ratio "$value" "$floor")" "-" "-"
  counted "micro $name" "$value" "$floor"
done

# --- 5. size -----------------------------------------------------------------------
exe=$win32/qmlauncher.exe
size= floor_size=
if [ -f "$exe" ]; then
  i686-w64-mingw32-strip -o "$work/qmlauncher.exe" "$exe" && size=$(stat -c %s "$work/qmlauncher.exe")
  printf '#include <string>\nint main(int argc, char**) { return static_cast<int>(std::string(argc, 0).size()); }\n' \
    > "$work/floor.cpp"
  i686-w64-mingw32-g++-win32 -O2 -static -static-libgcc -static-libstdc++ -s -o "$work/floor.exe" "$work/floor.cpp" &&
    floor_size=$(stat -c %s "$work/floor.exe")
fi
kb() { awk -v b="$1" 'BEGIN { if (b == "") print "-"; else printf "%.0f KB\n", b / 1000 }'; }
row "5. stripped Win32 qmlauncher.exe (floor: a static C++ program using std::string)" "$(kb "$size")" \
  "$(kb "$floor_size")" "$(ratio "$size" "$floor_size")" "≤ 300 KB" "$(verdict "$size" 300000 le)"
counted "size" "$size" "$floor_size"

fi  # not --startup

# --- the table ----------------------------------------------------------------------
echo
echo "| What | Launcher | Floor | Ratio | Target | Met |"
echo "|---|---|---|---|---|---|"
printf '%s\n' "${rows[@]}"
echo
echo "runs: $runs (medians), $(nproc) CPUs, $(lscpu | sed -n 's/^Model name: *//p' | head -1), Linux $(uname -r)"
if [ -n "$smoke" ]; then
  echo "bench: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
fi
