#!/usr/bin/env bash
# Ten launchers started at once with one temporary root: each finds and
# verifies the JVM, launches the program and gets its own exit code, none
# takes another's private directory, and the root is empty when all are done.
#
#   concurrency.sh native LAUNCHER QMPACK
#   concurrency.sh wine   LAUNCHER.exe QMPACK PREFIX   (qmtests.exe beside it)
#
# The JVM is a fake that answers the verifier and, started as the program,
# exits with the code it is given: natively a script (which first waits a
# moment, so that the runs overlap), under Wine a copy of the Windows test
# program in its fake-jvm mode. Ends with "concurrency: N passed, N failed".
source "$(dirname "$0")/lib.sh" concurrency "$@"
count=${QM_CONCURRENT_LAUNCHERS:-10}

mkdir -p "$work/fakejdk/bin" "$work/temp" "$work/logs"
suffix=
if [ "$mode" = wine ]; then
  tests_exe=$(dirname "$launcher")/qmtests.exe
  [ -f "$tests_exe" ] || { echo "no qmtests.exe beside $launcher"; finish; exit; }
  suffix=.exe
  cp "$tests_exe" "$work/fakejdk/bin/java.exe"
  printf '1739021872\r\nFake Inc.\r\n' > "$work/fakejdk/bin/fake-jvm.txt"
  jvm_file=$fixtures/fake.jvm
  home="Z:$(tr / '\\' <<< "$work/fakejdk")"
  temp="Z:$(tr / '\\' <<< "$work/temp")"
  start() {
    (cd "$work" && env "${english[@]}" QM_TEST_CHILD=fake-jvm WINEPREFIX="$prefix" \
       "$WINELOADER" "$work/product.exe" -qm:silent -qm:tempdir "$temp" -qm:log "logs\\$1.log" \
       -qm:javahome "$home" --exit "$1" > "$work/logs/$1.out" 2>&1)
  }
  ran() { echo "fake JVM fails with $1"; }
else
cat > "$work/fakejdk/bin/java" << 'JAVA'
#!/bin/sh
last=
for argument in "$@"; do last=$argument; done
case $last in
  java.vendor) printf '1739021872\nFake Inc.\n'; exit 0 ;;
  *[!0-9]* | '') exit 0 ;;
esac
sleep 0.3
echo "program run $last"
exit "$last"
JAVA
chmod +x "$work/fakejdk/bin/java"
cat > "$work/fake.jvm" << 'JVMFILE'
DESC: Fake runtime
JVM_EXE: bin/java
CLASSPATH: "-cp "
CLASSPATH_SEPARATOR: :
SYSTEM: -D
SYSTEM_SEPARATOR: =
JVM_PROPERTIES:
	"java.vendor=Fake Inc."
/:
JVMFILE
jvm_file=$work/fake.jvm
home=$work/fakejdk
temp=$work/temp
start() {  # start I: one launcher in the background, its program to exit with I
  # shellcheck disable=SC2086
  (cd "$work" && env "${english[@]}" ${QM_E2E_WRAPPER:-} "$work/product" -qm:silent \
     -qm:tempdir "$temp" -qm:log "$work/logs/$1.log" -qm:javahome "$home" "$1" \
     > "$work/logs/$1.out" 2>&1)
}
ran() { echo "program run $1"; }
fi
source "$here/fake_product.sh"
pack_product "$qmpack" "$launcher" "$work/product$suffix" "$jvm_file" "$fixtures/app.jar"
check "the product is packed" 0 "$?"

pids=()
for i in $(seq 1 "$count"); do
  start "$i" &
  pids+=($!)
done
codes=()
for i in $(seq 1 "$count"); do
  wait "${pids[$((i - 1))]}"
  codes+=("$?")
done

expected=$(seq 1 "$count" | paste -sd ' ')
check "every launcher exits with its own program's code" "$expected" "${codes[*]}"
matched=0
launched=0
for i in $(seq 1 "$count"); do
  log_text "$work/logs/$i.log" > "$work/logs/$i.txt"
  grep -qxF "Matching JVM home is $home" "$work/logs/$i.txt" && matched=$((matched + 1))
  grep -qxF "$(ran "$i")" "$work/logs/$i.txt" && launched=$((launched + 1))
done
check "every launcher verified the JVM" "$count" "$matched"
check "every launcher captured its own program's output" "$count" "$launched"
# Each run extracts its verifier and its application into directories of its own.
directories=$(cat "$work"/logs/*.txt | grep -o 'LRE[0-9A-Fa-f]*\.tmp' | sort)
check "no private directory served two launchers" "$(uniq <<< "$directories" | wc -l)" \
  "$(wc -l <<< "$directories")"
check "each launcher named at least two private directories" yes \
  "$([ "$(uniq <<< "$directories" | wc -l)" -ge $((2 * count)) ] && echo yes)"
check "the temp root is empty afterwards" "" "$(ls -A "$work/temp")"
check "no launcher reported an error" "" "$(grep -h '^ERROR: ' "$work"/logs/*.txt)"
finish
