#!/usr/bin/env bash
# Drives a built launcher as a user and a calling program would, and checks
# what it prints, logs and returns.
#
#   launcher_e2e.sh native LAUNCHER QMPACK
#   launcher_e2e.sh wine   LAUNCHER.exe QMPACK PREFIX   (see lib.sh)
#
# Prints one line per check and ends with "e2e: N passed, N failed".
source "$(dirname "$0")/lib.sh" e2e "$@"

run "${english[@]}" -- -qm:version
check "-qm:version prints the version" "2.51" "$OUT"
check "-qm:version exits 0" 0 "$RC"

run "${english[@]}" -- -qm:silent -qm:version
check "-qm:silent -qm:version prints nothing" "" "$OUT"
check "-qm:silent -qm:version exits 0" 0 "$RC"

run "${english[@]}" -- -qm:in
check "-qm:in without a name shows text 22 on standard error" "$(text en 22)|" "$ERR|$OUT"
check "-qm:in without a name exits -1" 255 "$RC"

if [ "$mode" = wine ]; then
  run LC_ALL=de_DE.UTF-8 -- -qm:in
else
  run LC_ALL= LC_MESSAGES= LANG=de_DE.UTF-8 -- -qm:in
fi
check "German user interface shows text 22 in German" "$(text de 22)" "$ERR"
# Every country's form of a language gets that language's texts.
for locale in de_CH:de fr_CA:fr es_ES:es; do
  if [ "$mode" = wine ]; then
    run LC_ALL="${locale%%:*}.UTF-8" -- -qm:in
  else
    run LC_ALL= LC_MESSAGES= LANG="${locale%%:*}.UTF-8" -- -qm:in
  fi
  check "a ${locale%%:*} user reads text 22 in ${locale##*:}" "$(text "${locale##*:}" 22)" "$ERR"
done

run "${english[@]}" -- pass-through arguments
check "a launcher file without an archive exits -1" 255 "$RC"

# A damaged archive is reported, logged as an error, and fails the run; two
# runs into the same log give two separators.
broken=$work/broken${launcher##*qmlauncher}
cp "$launcher" "$broken"
printf '\x00\x7f\xff\xff\xf0\xca\x82\xca\x82' >> "$broken"
saved=$launcher
launcher=$broken
run "${english[@]}" -- -qm:log "$([ "$mode" = wine ] && echo run.log || echo "$work/run.log")"
run "${english[@]}" -- -qm:log "$([ "$mode" = wine ] && echo run.log || echo "$work/run.log")"
launcher=$saved
check "a damaged archive exits -1" 255 "$RC"
log=$(log_text "$work/run.log" 2>/dev/null)
check "two runs write two separator lines" 2 "$(grep -c '^------------------$' <<< "$log")"
check "the failure is logged as an error" 2 \
  "$(grep -c '^ERROR: Unable to load the launcher file index. ' <<< "$log")"

# pack NAME INSTRUCTIONS: packs the stub with the five files of a product.
pack() {
  local packed=$work/$1${launcher##*qmlauncher}
  cat > "$work/$1.manifest" <<MANIFEST
STUB: $launcher
OUTPUT: $packed
ENTRIES:
  INSTRUCTIONS 0 "$fixtures/$2" name=instructions.txt
  VERIFIER_ARCHIVE 1 "$fixtures/app.jar" name=Verify.jar
  LAUNCHSCRIPT 2 "$fixtures/launch.txt"
  JVM 3 "$fixtures/test.jvm"
  APPLICATION_ARCHIVE 4 "$fixtures/app.jar"
/:
MANIFEST
  # A script that fails on purpose is packed without the packer's checks.
  "$qmpack" ${3:-} "$work/$1.manifest" > /dev/null && echo "$packed"
}


saved=$launcher
launcher=$(pack product instructions.txt)
mkdir -p "$work/temp"
temp_arg=$([ "$mode" = wine ] && echo temp || echo "$work/temp")
run "${english[@]}" -- -qm:log "$(log_name product.log)" -qm:tempdir "$temp_arg"
check "the embedded script runs to its end and exits 0" 0 "$RC"
log=$(log_text "$work/product.log" 2>/dev/null)
check "the log lists the five entries" 5 "$(grep -c '^file type: ' <<< "$log")"
check "the listing gives type, id, length, offset and name" "  file name: launch.txt" \
  "$(grep -A4 '^file type: 2$' <<< "$log" | tail -1)"
check "the temp root is empty afterwards" "" "$(ls -A "$work/temp")"

mkdir -p "$work/extract"
run_in "$work/extract" -- -qm:extract
check "-qm:extract writes the five files and input.tag" \
  "Verify.jar app.jar input.tag instructions.txt launch.txt test.jvm" \
  "$(cd "$work/extract" && echo $(ls | LC_ALL=C sort))"
check "input.tag runs the extracted files" \
  "ACTION:  RUN_INSTRUCTIONS|INSTRUCTIONS:  instructions.txt|LAUNCHSCRIPT:  launch.txt|JVM:  test.jvm" \
  "$(tr -d '\r' < "$work/extract/input.tag" | paste -sd '|')"
check "an extracted file is the packed file" "$(cat "$fixtures/launch.txt")" \
  "$(tr -d '\r' < "$work/extract/launch.txt")"
run_in "$work/extract" -- -qm:version -qm:in input.tag
check "-qm:version then -qm:in input.tag runs the instructions" 0 "$RC"
# After -qm:extract the index is loaded without its scripts, so an input file
# that names no instructions leaves nothing to run.
printf 'ACTION: RUN_INSTRUCTIONS\n' > "$work/extract/bare.tag"
run_in "$work/extract" -- -qm:extract -qm:in bare.tag
check "-qm:extract then -qm:in without instructions exits -1" 255 "$RC"

launcher=$saved
launcher=$(pack failing failing.txt --no-checks)
run "${english[@]}" -- -qm:log "$(log_name failing.log)"
check "a failing script exits -1" 255 "$RC"
message="Error in instructions. Label not found (NOWHERE) Line number (2)"
check "a failing script shows its error" "$message" "$(grep -v '^$' <<< "$ERR")"
check "a failing script logs its error" "ERROR: $message" \
  "$(log_text "$work/failing.log" | grep '^ERROR: ')"
launcher=$saved

# A launcher that installs its bundled JVM, and one that hands over to the
# launcher it carries, which removes itself when it is done. Natively the
# installer is a shell script; under Wine it is a copy of the test program
# that writes its jvm file, and the embedded launcher removes itself through
# a batch file (NT family) or through wininit.ini at the next start of
# Windows (95 family).
rm -rf "$work/temp" && mkdir -p "$work/temp"
if [ "$mode" = native ]; then
  exe= installer=$fixtures/install.sh installer_name=setup
else
  exe=.exe installer=$(dirname "$launcher")/qmtests.exe installer_name=setup.exe
fi
cat > "$work/install.manifest" <<MANIFEST
STUB: $launcher
OUTPUT: $work/installing$exe
ENTRIES:
  INSTRUCTIONS 0 "$fixtures/install-instructions.txt" name=instructions.txt
  JVM_INSTALLER 1 "$installer" name=$installer_name
/:
MANIFEST
"$qmpack" "$work/install.manifest" > /dev/null
saved=$launcher
launcher=$work/installing$exe
run "${english[@]}" QM_TEST_CHILD=jvmfile -- -qm:tempdir "$(windows_path "$work/temp")" \
  -qm:log "$(windows_path "$work/install.log")"
check "INSTALL_JVM runs the bundled installer and finds its jvm file" 0 "$RC"
check "the installed JVM's directory is removed at exit" "" "$(ls -A "$work/temp")"

launcher=$saved
launcher=$(pack inner instructions.txt)
cat > "$work/outer.manifest" <<MANIFEST
STUB: $saved
OUTPUT: $work/outer$exe
ENTRIES:
  EMBEDDED_LAUNCHER 0 "$launcher" name=inner$exe
  INSTRUCTIONS 1 "$fixtures/outer-instructions.txt" name=instructions.txt
/:
MANIFEST
"$qmpack" "$work/outer.manifest" > /dev/null
launcher=$work/outer$exe
# Wine does what wininit.ini asks when it next starts Windows, and keeps the
# file as wininit.bak; the names' letter case is Windows' to choose.
wininit_files() { [ -n "$prefix" ] && find "$prefix/drive_c/windows" -maxdepth 1 -iname 'wininit.*'; }
wininit_files | while read -r file; do rm -f "$file"; done
wininit_deletions() {
  wininit_files | while read -r file; do tr -d '\r' < "$file"; done | grep -c '^NUL=.*LRE.*\.tmp'
}
removed() {
  if [[ $prefix == *win98 ]]; then [ "$(wininit_deletions)" = 2 ]; else [ -z "$(ls -A "$work/temp")" ]; fi
}
# The temp root ends in a separator and other options follow it: on the 95
# family both launchers must read it as one argument, or no log is written.
# (Absolute paths: the embedded launcher runs in a directory of its own.)
run "${english[@]}" -- -qm:tempdir "$(windows_path "$work/temp/")" \
  -qm:log "$(windows_path "$work/handover.log")" 'C:\dir\' "two words"
check "EXECUTE_LAUNCHER returns at once with the script's result" 0 "$RC"
# The embedded launcher got this launcher's arguments: it logs into the
# same file, then removes itself and its directory.
for _ in $(seq 150); do
  [ "$(grep -c '^------------------' "$work/handover.log" 2>/dev/null)" = 2 ] && removed && break
  sleep 0.1
done
check "the embedded launcher ran with the same arguments" 2 \
  "$(grep -c '^------------------' "$work/handover.log" 2>/dev/null)"
if [[ $prefix == *win98 ]]; then
  check "the embedded launcher leaves its removal to the next start of Windows" 2 \
    "$(wininit_deletions)"
else
  check "the embedded launcher removed itself and its directory" "" "$(ls -A "$work/temp")"
fi
launcher=$saved

# The sample script finds the machine's JDK and launches a real Java program.
jdk=""
for home in /usr/lib/jvm/*; do
  [ -x "$home/bin/java" ] && [ -x "$home/bin/javac" ] && { jdk=$home; break; }
done
verifier=$(dirname "$qmpack")/Verify.jar
if [ "$mode" = native ] && [ -n "$jdk" ] && [ -f "$verifier" ]; then
  mkdir -p "$work/hello"
  "$jdk/bin/javac" -d "$work/hello" "$fixtures/Hello.java" &&
    "$jdk/bin/jar" --create --file "$work/Hello.jar" -C "$work/hello" Hello.class
  # pack_sample NAME JVMFILE: the sample launcher with the Hello application.
  pack_sample() {
    local packed=$work/$1
    cat > "$work/$1.manifest" <<MANIFEST
STUB: $launcher
OUTPUT: $packed
ENTRIES:
  INSTRUCTIONS 0 "$fixtures/sample-instructions.txt" name=instructions.txt
  VERIFIER_ARCHIVE 1 "$verifier"
  LAUNCHSCRIPT 2 "$fixtures/hello-launch.txt" name=launch.txt
  JVM 3 "$2" name=machine.jvm
  APPLICATION_ARCHIVE 4 "$work/Hello.jar"
/:
MANIFEST
    "$qmpack" "$work/$1.manifest" > /dev/null && echo "$packed"
  }
  saved=$launcher
  launcher=$(pack_sample sample "$fixtures/linux.jvm")
  rm -rf "$work/temp" && mkdir -p "$work/temp"
  run "${english[@]}" -- -qm:tempdir "$work/temp" -qm:log "$work/sample.log" -qm:javahome "$jdk" 3 "two words" 'C:\dir\'
  check "the sample launcher passes the application's exit code through" 3 "$RC"
  check "a failed launch shows the application's error output" "to standard error" \
    "$(grep -v '^$' <<< "$ERR" | tail -1)"
  check "the application's output is in the log" 1 \
    "$(log_text "$work/sample.log" | grep -c '^Hello from e2e$')"
  check "pass-through arguments reach the application unchanged" '[two words]|[C:\dir\]' \
    "$(grep -E '^\[(two|C:)' "$work/sample.log" | paste -sd '|')"
  check "the temp root is empty after a launch" "" "$(ls -A "$work/temp")"

  run "${english[@]}" -- -qm:tempdir "$work/temp" -qm:log "$work/paths.log" 5
  check "without -qm:javahome the JVM paths of the machine lead to a JDK" 5 "$RC"
  check "the search logs the home it matched" 1 "$(log_text "$work/paths.log" | grep -c '^Matching JVM home is /')"
  run "${english[@]}" -- -qm:tempdir "$work/temp" -qm:silent -qm:javahome "$jdk" 0
  check "a successful launch exits 0 and shows nothing when silent" "0||" "$RC|$OUT|$ERR"
  run "${english[@]}" -- -qm:tempdir "$work/temp" -qm:silent -qm:javahome "$jdk" 4
  check "a failed launch shows its error output even when silent" "4|to standard error" "$RC|$ERR"

  # Service actions of an input file, for a calling program.
  cat > "$work/search.tag" <<TAG
ACTION: SEARCH
LOGFILE: $work/actions.log
TAG
  run "${english[@]}" -- -qm:silent -qm:tempdir "$work/temp" -qm:javahome "$jdk" -qm:in "$work/search.tag"
  found_file=$(sed -n 3p <<< "$OUT")
  check "SEARCH prints 1, the home and the JVM file" "1|$jdk" "$(sed -n '1p;2p' <<< "$OUT" | paste -sd '|')"
  check "SEARCH exits 0" 0 "$RC"
  check "the JVM file SEARCH names stays after the run" \
    "JVM_HOME:  $jdk" "$(grep '^JVM_HOME:' "$found_file" 2>/dev/null)"
  rm -f "$found_file"

  for verdict in "1:$fixtures/linux.jvm" "0:$work/nobody.jvm"; do
    sed 's/java\.version=\.\.\./java.vendor=Nobody Inc./' "$fixtures/linux.jvm" > "$work/nobody.jvm"
    cat > "$work/verify.tag" <<TAG
ACTION: VERIFY_JVM
VERIFY_JVM_FILE: ${verdict#*:}
VERIFY_JVM_HOME: $jdk
TAG
    run "${english[@]}" -- -qm:silent -qm:tempdir "$work/temp" -qm:in "$work/verify.tag"
    check "VERIFY_JVM prints ${verdict%%:*} and exits 0" "${verdict%%:*}|0" "$OUT|$RC"
  done

  mkdir -p "$work/installed"
  printf '#!/bin/sh\nprintf "DESC: Installed runtime\\nJVM_EXE: bin/java\\n" > jvm\n' > "$work/install.sh"
  chmod +x "$work/install.sh"
  cat > "$work/install.tag" <<TAG
ACTION: INSTALL_JVM
INSTALL_JVM_EXE: $work/install.sh
INSTALL_JVM_DEST: $work/installed
TAG
  run "${english[@]}" -- -qm:silent -qm:tempdir "$work/temp" -qm:in "$work/install.tag"
  check "INSTALL_JVM prints the JVM file of the installation" "$work/installed/jvm|0" "$OUT|$RC"
  check "INSTALL_JVM records the location in that file" \
    "JVM_HOME:  $work/installed|JVM_FILE:  $work/installed/jvm|JVM_TEMP:  0" \
    "$(grep -E '^JVM_(HOME|FILE|TEMP):' "$work/installed/jvm" | paste -sd '|')"
  check "the temp root is empty after the actions" "" "$(ls -A "$work/temp")"

  sed 's/java\.version=\.\.\./java.vendor=Nobody Inc./' "$fixtures/linux.jvm" > "$work/nobody.jvm"
  launcher=$(pack_sample nobody "$work/nobody.jvm")
  run "${english[@]}" -- -qm:tempdir "$work/temp" -qm:log "$work/nobody.log" -qm:javahome "$jdk"
  not_found="$(text en 23)"
  check "without a matching JVM the sample shows text 23" "$not_found" \
    "$(grep -v '^$' <<< "$ERR" | grep -F "$not_found")"
  check "without a matching JVM nothing is launched" 0 "$(grep -c '^Hello from' "$work/nobody.log")"
  check "the temp root is empty after a failed search" "" "$(ls -A "$work/temp")"
  launcher=$saved
fi

# Under Wine the JVM is a fake: a copy of the Windows test program as
# bin\java.exe, which answers the verifier from fake-jvm.txt beside it and
# records the arguments it was started with.
tests_exe=$(dirname "$launcher")/qmtests.exe
if [ "$mode" = wine ] && [ -f "$tests_exe" ]; then
  mkdir -p "$work/fakejdk/bin"
  cp "$tests_exe" "$work/fakejdk/bin/java.exe"
  printf '1739021872\r\nFake Inc.\r\n' > "$work/fakejdk/bin/fake-jvm.txt"
  printf 'PK fake application\n' > "$work/Hello.jar"
  windows_home="Z:$(tr / '\\' <<< "$work/fakejdk")"
  saved=$launcher
  source "$here/fake_product.sh"
  launcher=$(pack_product "$qmpack" "$launcher" "$work/fake.exe" "$fixtures/fake.jvm" "$work/Hello.jar" &&
             echo "$work/fake.exe")
  rm -rf "$work/temp" && mkdir -p "$work/temp"
  run "${english[@]}" QM_TEST_CHILD=fake-jvm -- -qm:tempdir temp -qm:log fake.log \
    -qm:javahome "$windows_home" "two words" 'C:\dir\'
  check "the sample launcher finds the fake JVM and exits with its code" 0 "$RC"
  check "the fake JVM's home is the match" 1 \
    "$(log_text "$work/fake.log" | grep -c -F "Matching JVM home is $windows_home")"
  # The Windows 95 family's own tokenizer drops a backslash that ends the
  # launcher's command line; what the launcher got reaches the program whole.
  last_argument='C:\dir\'
  [[ $prefix == *win98 ]] && last_argument='C:\dir'
  check "pass-through arguments reach the program unchanged" "two words|$last_argument" \
    "$(tr -d '\r' < "$work/fakejdk/bin/args.txt" | tail -2 | paste -sd '|')"
  check "the temp root is empty after a launch under Wine" "" "$(ls -A "$work/temp")"

  # SEARCH_ALL scans every fixed drive: the prefix's Z: (the whole Linux
  # root) is swapped for a D: that holds two homes, for this run only.
  drive=$work/drive
  # A home whose executable differs in letter case from JVM_EXE is a home of
  # that JVM file all the same: Windows compares file names without case.
  mkdir -p "$drive/jdk1/bin" "$drive/deep/jdk2/bin" "$drive/jdk3/BIN"
  for bin in "$drive/jdk1/bin" "$drive/deep/jdk2/bin" "$drive/jdk3/BIN"; do
    cp "$work/fakejdk/bin/java.exe" "$work/fakejdk/bin/fake-jvm.txt" "$bin/"
  done
  mv "$drive/jdk3/BIN/java.exe" "$drive/jdk3/BIN/JAVA.EXE"
  cp "$launcher" "$drive/fake.exe"
  printf 'ACTION: SEARCH_ALL\nLOGFILE: all.log\n' > "$drive/all.tag"
  # The running Wine server keeps the drives it knows; start afresh.
  WINEPREFIX="$prefix" "$WINESERVER" -k 2>/dev/null
  mv "$prefix/dosdevices/z:" "$work/z-drive"
  ln -s "$drive" "$prefix/dosdevices/d:"
  OUT=$(cd "$drive" && QM_TEST_CHILD=fake-jvm WINEPREFIX="$prefix" "$WINELOADER" 'D:\fake.exe' \
        -qm:silent -qm:in all.tag 2>/dev/null | tr -d '\r')
  RC=$?
  WINEPREFIX="$prefix" "$WINESERVER" -k 2>/dev/null
  rm "$prefix/dosdevices/d:"
  mv "$work/z-drive" "$prefix/dosdevices/z:"
  check "SEARCH_ALL counts every home on the fixed drives" 3 "$(head -1 <<< "$OUT")"
  check "SEARCH_ALL prints each home before its JVM file" 'D:\deep\jdk2|D:\jdk1|D:\jdk3' \
    "$(sed -n '2p;4p;6p' <<< "$OUT" | LC_ALL=C sort | paste -sd '|')"
  check "the JVM files SEARCH_ALL names are kept" 3 \
    "$(sed -n '3p;5p;7p' <<< "$OUT" | grep -c 'LRE.*\.tmp$')"

  sed 's/Fake Inc\./Other Inc./' "$fixtures/fake.jvm" > "$work/other.jvm"
  sed -i "s|\"$fixtures/fake.jvm\"|\"$work/other.jvm\" name=fake.jvm|" "$work/fake.exe.manifest"
  "$qmpack" "$work/fake.exe.manifest" > /dev/null
  run "${english[@]}" QM_TEST_CHILD=fake-jvm -- -qm:tempdir temp -qm:javahome "$windows_home"
  check "a JVM of another vendor is not launched: text 23" "$(text en 23)" \
    "$(grep -F "$(text en 23)" <<< "$ERR")"
  check "the temp root is empty after a failed search under Wine" "" "$(ls -A "$work/temp")"
  launcher=$saved
fi

finish
