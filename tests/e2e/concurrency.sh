#!/usr/bin/env bash
# Ten launchers started at once with one temporary root: each finds and
# verifies the JVM, launches the program and gets its own exit code, none
# takes another's private directory, and the root is empty when all are done.
#
#   concurrency.sh native LAUNCHER QMPACK
#
# The JVM is a fake: a script that answers the verifier and, started as the
# program, waits a moment (so that the runs overlap) and exits with its last
# argument. Ends with "concurrency: N passed, N failed".
source "$(dirname "$0")/lib.sh" concurrency "$@"
count=${QM_CONCURRENT_LAUNCHERS:-10}

if [ "$mode" != native ]; then
  echo "concurrency: only the native launcher is started in parallel here"
  finish
  exit
fi

mkdir -p "$work/fakejdk/bin" "$work/temp" "$work/logs"
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
cat > "$work/product.manifest" << MANIFEST
STUB: $launcher
OUTPUT: $work/product
ENTRIES:
  INSTRUCTIONS 0 "$fixtures/sample-instructions.txt" name=instructions.txt
  VERIFIER_ARCHIVE 1 "$fixtures/app.jar" name=Verify.jar
  LAUNCHSCRIPT 2 "$fixtures/hello-launch.txt" name=launch.txt
  JVM 3 "$work/fake.jvm"
  APPLICATION_ARCHIVE 4 "$fixtures/app.jar"
/:
MANIFEST
"$qmpack" "$work/product.manifest" > /dev/null
check "the product is packed" 0 "$?"

pids=()
for i in $(seq 1 "$count"); do
  # shellcheck disable=SC2086
  (cd "$work" && env "${english[@]}" ${QM_E2E_WRAPPER:-} "$work/product" -qm:silent \
     -qm:tempdir "$work/temp" -qm:log "$work/logs/$i.log" -qm:javahome "$work/fakejdk" "$i" \
     > "$work/logs/$i.out" 2>&1) &
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
  grep -q "^Matching JVM home is $work/fakejdk$" "$work/logs/$i.log" && matched=$((matched + 1))
  grep -q "^program run $i$" "$work/logs/$i.log" && launched=$((launched + 1))
done
check "every launcher verified the JVM" "$count" "$matched"
check "every launcher captured its own program's output" "$count" "$launched"
# Each run extracts its verifier and its application into directories of its own.
directories=$(cat "$work"/logs/*.log | grep -o "$work/temp/LRE[0-9A-F]*\.tmp" | sort)
check "no private directory served two launchers" "$(uniq <<< "$directories" | wc -l)" \
  "$(wc -l <<< "$directories")"
check "each launcher named at least two private directories" yes \
  "$([ "$(uniq <<< "$directories" | wc -l)" -ge $((2 * count)) ] && echo yes)"
check "the temp root is empty afterwards" "" "$(ls -A "$work/temp")"
check "no launcher reported an error" "" "$(grep -h '^ERROR: ' "$work"/logs/*.log)"
finish
