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

source "$(dirname "$0")/fake_product.sh"
mkdir -p "$work/temp"
# As the program the fake JVM notes its process id and waits.
fake_java "$work/fakejdk" "echo \$\$ > '$work/program.pid'; exec sleep 60"
pack_fake_product "$qmpack" "$launcher" "$work/product" "$work/fakejdk"

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
fake_java "$work/fakejdk" "exit 0"
"$work/product" -qm:noverifycache -qm:tempdir "$work/temp" -qm:javahome "$work/fakejdk" | head -c 1 > /dev/null
check "a closed output pipe still lets the launcher clean up" "" "$(ls -A "$work/temp")"
finish
