#!/usr/bin/env bash
# Ctrl-C, a kill and a closed terminal while the program runs: the launcher
# passes the request on to the program, waits for it, removes its temporary
# files and exits as the program did (here: killed by the signal, 128 + its
# number); no program is left running. POSIX only.
#
#   signals.sh native LAUNCHER QMPACK
#
# Ends with "signals: N passed, N failed".
source "$(dirname "$0")/lib.sh" signals "$@"

mkdir -p "$work/fakejdk/bin" "$work/temp"
# The fake JVM answers the verifier at once; as the program it notes its
# process id and waits.
cat > "$work/fakejdk/bin/java" << JAVA
#!/bin/sh
for last in "\$@"; do :; done
if [ "\$last" = java.vendor ]; then printf '1739021872\nFake Inc.\n'; exit 0; fi
echo \$\$ > "$work/program.pid"
exec sleep 60
JAVA
chmod +x "$work/fakejdk/bin/java"
printf 'DESC: Fake\nJVM_EXE: bin/java\nCLASSPATH: "-cp "\nCLASSPATH_SEPARATOR: :\nSYSTEM: -D\nSYSTEM_SEPARATOR: =\nJVM_PROPERTIES: "java.vendor=Fake Inc."\n' \
  > "$work/fake.jvm"
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

for signal in INT TERM HUP; do
  rm -f "$work/program.pid"
  "$work/product" -qm:silent -qm:noverifycache -qm:tempdir "$work/temp" -qm:javahome "$work/fakejdk" \
    > /dev/null 2>&1 &
  launcher_pid=$!
  for _ in $(seq 100); do [ -s "$work/program.pid" ] && break; sleep 0.1; done
  program_pid=$(cat "$work/program.pid" 2> /dev/null)
  kill "-$signal" "$launcher_pid"
  wait "$launcher_pid"
  status=$?
  check "SIG$signal ends the run as the program ended: 128 + the signal" \
    "$((128 + $(kill -l "$signal")))" "$status"
  check "SIG$signal leaves no temporary file" "" "$(ls -A "$work/temp")"
  check "SIG$signal leaves no program running" gone \
    "$([ -n "$program_pid" ] && kill -0 "$program_pid" 2> /dev/null && echo running || echo gone)"
  [ -n "$program_pid" ] && kill -9 "$program_pid" 2> /dev/null
done

# A reader that goes away (app | head -1) does not end the launcher before
# it has cleaned up.
cat > "$work/fakejdk/bin/java" << 'JAVA'
#!/bin/sh
for last in "$@"; do :; done
if [ "$last" = java.vendor ]; then printf '1739021872\nFake Inc.\n'; exit 0; fi
exit 0
JAVA
"$work/product" -qm:noverifycache -qm:tempdir "$work/temp" -qm:javahome "$work/fakejdk" | head -c 1 > /dev/null
check "a closed output pipe still lets the launcher clean up" "" "$(ls -A "$work/temp")"
finish
