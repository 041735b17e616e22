#!/usr/bin/env bash
# Drives the sample launcher (samples/) as a user would, option by option:
# what reaches the application, what is shown and logged, the exit code, and
# the temp root left empty. Natively the JVM is this machine's JDK and the
# application the sample's jar; under Wine the JVM is a fake (a copy of the
# Windows test program as bin\java.exe answering the verifier from
# fake-jvm.txt and writing the arguments it got to args.txt).
#
#   options_e2e.sh native LAUNCHER QMPACK
#   options_e2e.sh wine   LAUNCHER.exe QMPACK PREFIX   (see lib.sh)
source "$(dirname "$0")/lib.sh" options "$@"
samples=$here/../../samples
build=$(dirname "$qmpack")
stub=$launcher
temp=$work/temp
mkdir -p "$temp"
temp_arg=$(log_name temp)

if [ "$mode" = native ]; then
  home=""
  for candidate in /usr/lib/jvm/*; do
    [ -x "$candidate/bin/java" ] && { home=$candidate; break; }
  done
  if [ -z "$home" ] || [ ! -f "$build/samples/sample.jar" ] || [ ! -f "$build/Verify.jar" ]; then
    echo "options: no JDK, sample jar or Verify.jar; nothing to check"
    echo "options: 0 passed, 1 failed"
    exit 1
  fi
  jvm_files=("$samples"/jvm/linux-java{25,21,17,11,8}.jvm)
  verifier=$build/Verify.jar
  application=$build/samples/sample.jar
  spec_version=$("$home/bin/java" -XshowSettings:properties -version 2>&1 |
                 sed -n 's/^ *java\.specification\.version = //p')
else
  fake=$work/fakejdk
  mkdir -p "$fake/bin"
  cp "$(dirname "$stub")/qmtests.exe" "$fake/bin/java.exe"
  spec_version=17
  printf '1739021872\r\n%s\r\n' "$spec_version" > "$fake/bin/fake-jvm.txt"
  home="Z:$(tr / '\\' <<< "$fake")"
  jvm_files=("$samples"/jvm/windows-java{25,21,17,11,8}.jvm)
  verifier=$fixtures/app.jar
  application=$fixtures/app.jar
fi
export QM_TEST_CHILD=fake-jvm  # read only by the fake JVM under Wine

# pack NAME LAUNCHSCRIPT JVMFILE...: the sample launcher with these files.
pack() {
  local name=$1 script=$2 id=3
  shift 2
  {
    echo "STUB: $stub"
    echo "OUTPUT: $work/$name"
    echo "ENTRIES:"
    echo "  INSTRUCTIONS 0 \"$samples/instructions.txt\""
    echo "  VERIFIER_ARCHIVE 1 \"$verifier\" name=Verify.jar"
    echo "  LAUNCHSCRIPT 2 \"$script\" name=launch.txt"
    for jvm in "$@"; do
      echo "  JVM $id \"$jvm\""
      id=$((id + 1))
    done
    echo "  APPLICATION_ARCHIVE $id \"$application\" name=sample.jar"
    echo "/:"
  } > "$work/$name.manifest"
  "$qmpack" "$work/$name.manifest" > /dev/null && echo "$work/$name"
}


# received: the arguments the application got, one a line.
received() {
  if [ "$mode" = native ]; then
    sed -n 's/^Argument: \[\(.*\)\]$/\1/p' <<< "$OUT"
  else
    tr -d '\r' 2>/dev/null < "$fake/bin/args.txt" | sed -n '/^quillmark\.sample\.Main$/,$p' | tail -n +2
  fi
}

# launch_output_logged LOG: 1 when the log holds the output of a launch of
# the application, 0 otherwise (verifications log their output too).
launch_output_logged() {
  log_text "$1" | awk '/^Executing launch script command: .*quillmark\.sample\.Main/ { app = 1; next }
    /^Executing launch script command: / { app = 0 }
    app && /^Output from the launch script execution$/ { found = 1 }
    END { print found + 0 }'
}

# command_in LOG: the Java command line the launcher logged.
command_in() { log_text "$1" | sed -n 's/^Executing launch script command: //p'; }

sample=$(pack sample "$samples/launch.txt" "${jvm_files[@]}")
launcher=$sample

run "${english[@]}" -- -qm:tempdir "$temp_arg" -qm:log "$(log_name run.log)" -qm:javahome "$home" \
  "two words" second
check "the sample launcher runs the application and exits 0" 0 "$RC"
check "the application gets the pass-through arguments" "two words|second" "$(received | paste -sd '|')"
check "the home given with -qm:javahome is the match" 1 \
  "$(log_text "$work/run.log" | grep -c "^Matching JVM home is $(sed 's/\\/\\\\/g' <<< "$home")$")"
# The sample's JVM file that takes a runtime of this java.specification.version.
sample_file_for() {
  local major=${1#1.}
  if [ "$major" -ge 25 ]; then echo "Java 25 and later runtime of any vendor (java.specification.version 25+)"
  elif [ "$major" -ge 21 ]; then echo "Java 21 to 24 runtime of any vendor (java.specification.version 21..24)"
  elif [ "$major" -ge 17 ]; then echo "Java 17 to 20 runtime of any vendor (java.specification.version 17..20)"
  elif [ "$major" -ge 11 ]; then echo "Java 11 to 16 runtime of any vendor (java.specification.version 11..16)"
  else echo "Java 8 to 10 runtime of any vendor (java.specification.version 1.8..10)"
  fi
}
if [ "$mode" = native ]; then
  check "the application's output is on the console" "Hello from the Quillmark sample application." \
    "$(grep -o 'Hello from the Quillmark sample application\.' <<< "$OUT")"
  check "the application reads the JVM file copy the launcher wrote" \
    "Runtime chosen by the launcher: $(sample_file_for "$spec_version")" \
    "$(grep '^Runtime chosen' <<< "$OUT")"
fi
check "the temp root is empty after the run" "" "$(ls -A "$temp")"

# A class of the application's own package beside the launcher, or in the
# directory the launcher is started from, is never loaded instead of the
# application's.
if [ "$mode" = native ] && command -v javac > /dev/null; then
  mkdir -p "$work/impostor"
  printf 'package quillmark.sample;\npublic class Main { public static void main(String[] a) { System.out.println("impostor"); } }\n' \
    > "$work/impostor/Main.java"
  javac --release 8 -nowarn -d "$work" "$work/impostor/Main.java" 2> /dev/null
  run "${english[@]}" -- -qm:tempdir "$temp_arg" -qm:javahome "$home"
  check "a Main.class beside the launcher is not loaded" "Hello from the Quillmark sample application." \
    "$(grep -o 'Hello from the Quillmark sample application\.\|impostor' <<< "$OUT" | head -1)"
  rm -rf "$work/impostor" "$work/quillmark"
fi

# Every JDK of the machine is matched by the JVM file whose range holds it.
if [ "$mode" = native ]; then
  for jdk in $(for candidate in /usr/lib/jvm/*; do
                 [ -x "$candidate/bin/java" ] && realpath "$candidate"
               done | sort -u); do
    version=$("$jdk/bin/java" -XshowSettings:properties -version 2>&1 |
              sed -n 's/^ *java\.specification\.version = //p')
    run "${english[@]}" -- -qm:tempdir "$temp_arg" -qm:javahome "$jdk"
    check "the JDK in $jdk is taken as Java $version" \
      "Runtime chosen by the launcher: $(sample_file_for "$version")" \
      "$(grep '^Runtime chosen' <<< "$OUT")"
  done
fi

# Arguments that the Windows rules, the launcher's expansions or a shell
# could each mangle reach the application as they were typed. A launcher
# option in another letter case is not an option.
hard=('a"b' '' 'x\"y' '\\server\share' 'say "hi" now' '%PATH%' '@S2@' '#HOME#' \
      '%%' 'tab	in' ' lead and trail ' '-QM:version' 'C:\dir\')
# The Windows 95 family's own tokenizer reads the command line Wine made of
# these arguments its own way: it drops an empty argument and a backslash
# that ends the line, and keeps a doubled backslash before a quote doubled.
# What it got is passed on whole.
expected=("${hard[@]}")
if [[ ${prefix:-} == *win98 ]]; then
  expected=('a"b' 'x\\"y' "${hard[@]:3}")
  expected[${#expected[@]}-1]='C:\dir'
fi
run "${english[@]}" -- -qm:tempdir "$temp_arg" -qm:javahome "$home" "${hard[@]}"
check "hard-quoted arguments reach the application unchanged" \
  "$(printf '%s\n' "${expected[@]}")" "$(received)"

# Paths are data: a launcher, a temp root and a JVM home in folders whose
# names hold marker, quote and shell characters reach the application whole.
# (Windows names cannot hold a quote or a backslash; a JVM home's name cannot
# hold a quote either, as the program name of a command line cannot.)
if [ "$mode" = native ]; then
  odd=$work/"odd @x@ %TEMP_DIR%() #PATH# \"q\" ' \$HOME; a\\b é"
  odd_home=$work/"jdk @x@ %TEMP_DIR%() #PATH# ' \$HOME; a\\b é"
  ln -s "$home" "$odd_home"
else
  # On the NT family a Polish letter, which the Western code page the fake
  # JVM reads its command line in lacks: the launcher, running with UTF-8,
  # hands such paths over in their short 8.3 form. (The 95 family has only
  # the ANSI code page: no such folder can be named there.)
  odd=$work/"odd @x@ %TEMP_DIR%() #PATH# ' \$HOME;"
  [[ $prefix == *win98 ]] || odd+=" Łódź"
  odd_home=$odd/jdk
  mkdir -p "$odd" && cp -r "$fake" "$odd_home" && rm -f "$odd_home/bin/args.txt"
fi
mkdir -p "$odd/temp"
cp "$sample" "$odd/"
saved=$launcher
launcher=$odd/$(basename "$sample")
# (Java reads non-ASCII paths only in a UTF-8 locale.)
run LC_ALL=C.UTF-8 LANG=C.UTF-8 -- -qm:tempdir "$(windows_path "$odd/temp")" \
  -qm:javahome "$(windows_path "$odd_home")" --paths
launcher=$saved
if [ "$mode" = native ]; then
  seen=$(sed -n 's/^\(qm\.jvm\.home\|qm\.external\.home\|temp\.dir\): \[\(.*\)\]$/\1=\2/p' <<< "$OUT")
else
  # What the fake JVM got, read back by Wine to the folders it names (a
  # short name stands for the long one; a letter lost to the code page
  # would name no folder).
  seen=$(tr -d '\r' < "$odd_home/bin/args.txt" |
         sed -n 's/^-D\(qm\.jvm\.home\|qm\.external\.home\|temp\.dir\)=\(.*\)$/\1=\2/p' |
         while IFS== read -r name value; do
           echo "$name=$(WINEPREFIX="$prefix" "$WINELOADER" winepath -u "$value" 2>/dev/null |
                         tr -d '\r')"
         done)
fi
check "paths holding marker and quote characters reach the application whole" \
  "$(printf 'qm.external.home=%s\nqm.jvm.home=%s\ntemp.dir=%s' "$odd" "$odd_home" "$odd/temp")" \
  "$(sort <<< "$seen")"
check "the temp root with such a name is empty after the run" "" "$(ls -A "$odd/temp")"

# A user whose name the Western code page cannot spell: the system's
# temporary folder (TEMP, set by cmd as a profile sets it) holds a Polish
# letter. The launcher finds it, the application is told a path that names
# it, and nothing is left there.
if [ "$mode" = wine ] && [[ $prefix != *win98 ]]; then
  user_temp=$work/"Łukasz/Temp"
  mkdir -p "$user_temp"
  rm -f "$fake/bin/args.txt"
  cp "$sample" "$work/sample.exe"  # cmd starts only programs named so
  (cd "$work" && WINEPREFIX="$prefix" "$WINELOADER" cmd /c \
     "set TEMP=$(windows_path "$user_temp")&& set TMP=$(windows_path "$user_temp")&& sample.exe -qm:javahome $home --paths" \
     > /dev/null 2>&1)
  told=$(tr -d '\r' < "$fake/bin/args.txt" 2>/dev/null | sed -n 's/^-Dtemp\.dir=//p')
  check "a temp folder outside the code page is found and named readably" "$user_temp" \
    "$(WINEPREFIX="$prefix" "$WINELOADER" winepath -u "$told" 2>/dev/null | tr -d '\r')"
  check "the temp folder outside the code page is empty after the run" "" "$(ls -A "$user_temp")"
  # In a console (Wine makes one of a terminal) such a name is shown as it
  # is, not in the console's own code page.
  missing=$(windows_path "$work/gone Łódź")
  shown=$(cd "$work" && WINEPREFIX="$prefix" script -qec \
            "'$WINELOADER' sample.exe -qm:tempdir '$missing'" /dev/null 2>/dev/null | tr -d '\r')
  check "a console shows a name outside the code page as it is" shown \
    "$(grep -q -F "$missing" <<< "$shown" && echo shown)"
fi

# The sample is a command-line tool: it runs where the user starts it.
if [ "$mode" = native ]; then
  mkdir -p "$work/elsewhere"
  run_in "$work/elsewhere" "${english[@]}" -- -qm:tempdir "$temp_arg" -qm:javahome "$home" --paths
  check "the sample runs in the directory it is started from" "$work/elsewhere" \
    "$(sed -n 's/^user\.dir: \[\(.*\)\]$/\1/p' <<< "$OUT")"
fi

# -silent is the launcher's and the application's; -qm:silent only the
# launcher's.
run "${english[@]}" -- -qm:tempdir "$temp_arg" -qm:javahome "$home" -silent -qm:silent one
check "-silent is passed on, -qm:silent is not" "-silent|one" "$(received | paste -sd '|')"

run "${english[@]}" -- -qm:tempdir "$temp_arg" -qm:javahome "$home" --exit 3
check "a failing application's exit code is the launcher's" 3 "$RC"
if [ "$mode" = native ]; then
  check "a failing application's error output is on the console" \
    "The sample application exits with code 3." "$(tail -1 <<< "$ERR")"
fi
check "the temp root is empty after a failing application" "" "$(ls -A "$temp")"

# The class path options put their paths around the application's archive.
run "${english[@]}" -- -qm:tempdir "$temp_arg" -qm:log "$(log_name cp.log)" -qm:javahome "$home" \
  -cp:p first.jar -cp:a last.jar
check "-cp:p and -cp:a put their paths before and after the archive" 1 \
  "$(command_in "$work/cp.log" | grep -c -- '-cp "first.jar";*[:;]".*sample\.jar"[:;]"last.jar"')"

# A log and a debug log.
rm -f "$work/debug.log"
run "${english[@]}" DBGWIN32VAQ="$(log_name debug.log)" -- -qm:tempdir "$temp_arg" -qm:javahome "$home"
check "DBGWIN32VAQ names a debug log that the launcher starts" "Console Launcher Started" \
  "$(log_text "$work/debug.log" 2>/dev/null | head -1)"

# Options without their values.
run "${english[@]}" -- -qm:version -qm:log
check "-qm:log without a name shows text 14 and exits -1" "2.51|$(text en 14)|255" \
  "$(printf '%s\n%s' "$OUT" "$ERR" | grep -v '^$' | paste -sd '|')|$RC"
run "${english[@]}" -- -qm:version -qm:orig
check "-qm:orig without a name says so and exits -1" "2.51|Missing original launcher file name.|255" \
  "$(printf '%s\n%s' "$OUT" "$ERR" | grep -v '^$' | paste -sd '|')|$RC"

# A launch script that captures the output puts it into the log; a console
# requested on the command line shows it instead, and -console is also the
# application's.
captured=$work/captured-launch.txt
sed 's/^DISPLAY_CONSOLE: 1$/DISPLAY_CONSOLE: 0/' "$samples/launch.txt" > "$captured"
launcher=$(pack captured "$captured" "${jvm_files[@]}")
run "${english[@]}" -- -qm:tempdir "$temp_arg" -qm:log "$(log_name captured.log)" -qm:javahome "$home" plain
check "a captured run logs the application's output" 1 "$(launch_output_logged "$work/captured.log")"
for option in -qm:javaconsole -console; do
  rm -f "$work/console.log"
  run "${english[@]}" -- -qm:tempdir "$temp_arg" -qm:log "$(log_name console.log)" -qm:javahome "$home" \
    "$option" plain
  check "$option runs the application with a console: nothing captured" 0 \
    "$(launch_output_logged "$work/console.log")"
  [ "$option" = -console ] && want="-console|plain" || want="plain"
  check "$option reaches the application only when it is -console" "$want" "$(received | paste -sd '|')"
done
if [ "$mode" = native ]; then
  check "with a console the application's output is shown" "Hello from the Quillmark sample application." \
    "$(grep -o 'Hello from the Quillmark sample application\.' <<< "$OUT")"
fi
launcher=$sample

# -qm:orig: the running launcher is a copy of the original named, made by a
# launcher in a private directory of the temp root; it takes the original's
# directory as its own and removes itself and its directory.
mkdir -p "$work/original" "$temp/LRE0AB1.tmp"
cp "$sample" "$work/original/product${sample##*/sample}"
copy=$temp/LRE0AB1.tmp/product${sample##*/sample}
cp "$sample" "$copy"
original=$(log_name original/product${sample##*/sample})
[ "$mode" = wine ] && original="Z:$(tr / '\\' <<< "$work/original/product${sample##*/sample}")"
launcher=$copy
[[ ${prefix:-} == *win98 ]] && rm -f "$prefix"/drive_c/windows/[Ww][Ii][Nn][Ii][Nn][Ii][Tt].[Ii][Nn][Ii]
run "${english[@]}" -- -qm:tempdir "$temp_arg" -qm:log "$(log_name orig.log)" -qm:javahome "$home" \
  -qm:orig "$original"
launcher=$sample
check "-qm:orig runs the product" 0 "$RC"
original_dir=${original%[/\\]*}
check "-qm:orig makes the original's directory the launcher directory" 1 \
  "$(command_in "$work/orig.log" | grep -c -F -- "-Dqm.external.home=\"$original_dir\"")"
if [[ ${prefix:-} == *win98 ]]; then
  # The Windows 95 family removes a running program at the next start of
  # Windows, through the [Rename] section of wininit.ini.
  check "-qm:orig asks Windows to remove the copy and its directory at its next start" 2 \
    "$(cat "$prefix"/drive_c/windows/[Ww][Ii][Nn][Ii][Nn][Ii][Tt].[Ii][Nn][Ii] 2>/dev/null | tr -d '\r' |
      grep -c -i '^NUL=.*\\lre0ab1\.tmp\(\\product[^\\]*\)\?$')"
  rm -rf "$temp/LRE0AB1.tmp"
else
  for _ in $(seq 100); do [ -e "$temp/LRE0AB1.tmp" ] || break; sleep 0.1; done
  check "-qm:orig removes the running copy and its directory" "no" \
    "$([ -e "$temp/LRE0AB1.tmp" ] && echo yes || echo no)"
fi
# A copy anywhere else (the option given by mistake) is never removed.
mkdir -p "$work/users-folder"
cp "$sample" "$work/users-folder/product${sample##*/sample}"
launcher=$work/users-folder/product${sample##*/sample}
run "${english[@]}" -- -qm:tempdir "$temp_arg" -qm:log "$(log_name refused.log)" -qm:javahome "$home" \
  -qm:orig "$original"
launcher=$sample
sleep 1
check "-qm:orig never removes a launcher outside a private directory" yes \
  "$([ -f "$work/users-folder/product${sample##*/sample}" ] && echo yes || echo no)"
check "-qm:orig says why it removes nothing" 1 "$(log_text "$work/refused.log" | grep -c '^WARNING: Refusing to remove ')"
check "-qm:orig leaves the original alone" yes \
  "$([ -f "$work/original/product${sample##*/sample}" ] && echo yes || echo no)"

# The service actions a calling program asks for through an input file.
matching_jvm=$(grep -l -F "DESC: $(sample_file_for "$spec_version")" "${jvm_files[@]}" | head -1)
printf 'ACTION: SEARCH\nJVM: %s\n' "$(windows_path "$matching_jvm")" > "$work/search.tag"
run "${english[@]}" -- -qm:silent -qm:tempdir "$temp_arg" -qm:javahome "$home" -qm:in search.tag
check "SEARCH prints 1 and the home, exits 0" "1|$home|0" "$(sed -n '1p;2p' <<< "$OUT" | paste -sd '|')|$RC"
# The JVM file SEARCH prints is kept for the caller.
check "the JVM file SEARCH keeps names the home" 1 \
  "$(tr -d '\r' < "$(ls "$temp"/LRE*.tmp 2>/dev/null | head -1)" 2>/dev/null | grep -c -F "JVM_HOME:  $home")"
rm -f "$temp"/LRE*.tmp
for verdict in 1:"$matching_jvm" 0:"$work/future.jvm"; do
  sed 's/java\.specification\.version=[0-9.]*/java.specification.version=99/' \
    "$matching_jvm" > "$work/future.jvm"
  printf 'ACTION: VERIFY_JVM\nVERIFY_JVM_FILE: %s\nVERIFY_JVM_HOME: %s\n' \
    "$(windows_path "${verdict#*:}")" "$home" > "$work/verify.tag"
  run "${english[@]}" -- -qm:silent -qm:tempdir "$temp_arg" -qm:in verify.tag
  check "VERIFY_JVM prints ${verdict%%:*} and exits 0" "${verdict%%:*}|0" "$OUT|$RC"
done
mkdir -p "$work/installed"
if [ "$mode" = wine ]; then
  installer='cmd /c echo JVM_EXE: bin\java.exe>jvm'
  destination=$(windows_path "$work/installed")
  jvm_path="$destination\jvm"
else
  printf '#!/bin/sh\necho "JVM_EXE: bin/java" > jvm\n' > "$work/install.sh"
  chmod +x "$work/install.sh"
  installer=$work/install.sh
  destination=$work/installed
  jvm_path=$destination/jvm
fi
printf 'ACTION: INSTALL_JVM\nINSTALL_JVM_EXE: %s\nINSTALL_JVM_DEST: %s\n' "$installer" "$destination" \
  > "$work/install.tag"
run "${english[@]}" -- -qm:silent -qm:tempdir "$temp_arg" -qm:in install.tag
check "INSTALL_JVM runs the installer and prints its JVM file" "$jvm_path|0" "$OUT|$RC"
check "INSTALL_JVM records the home in that file" 1 \
  "$(tr -d '\r' < "$work/installed/jvm" 2>/dev/null | grep -c -F "JVM_HOME:  $destination")"
check "the temp root is empty after the actions" "" "$(ls -A "$temp")"

# No JVM satisfies the launcher: a message in the user's language, nothing
# launched, nothing left behind; silent shows nothing.
sed 's/java\.specification\.version=[0-9.]*/java.specification.version=99/' \
  "${jvm_files[2]}" > "$work/future.jvm"
launcher=$(pack future "$samples/launch.txt" "$work/future.jvm")
[ "$mode" = native ] || rm -f "$fake/bin/args.txt"
run "${english[@]}" -- -qm:tempdir "$temp_arg" -qm:log "$(log_name future.log)" -qm:javahome "$home" one
check "without a suitable JVM text 23 is shown on standard error" "1|0" \
  "$(grep -c -F "$(text en 23)" <<< "$ERR")|$(grep -c -F "$(text en 23)" <<< "$OUT")"
check "without a suitable JVM the run fails" 255 "$RC"
check "without a suitable JVM the application is not started" "" "$(received)"
check "without a suitable JVM the temp root is empty" "" "$(ls -A "$temp")"
run "${english[@]}" -- -qm:tempdir "$temp_arg" -qm:javahome "$home" -qm:silent
check "-qm:silent shows only why the run failed" "|$(text en 23)" "$OUT|$ERR"
check "-qm:silent does not hide the failure from the exit code" 255 "$RC"
if [ "$mode" = wine ]; then
  run LC_ALL=de_DE.UTF-8 -- -qm:tempdir "$temp_arg" -qm:javahome "$home"
else
  run LC_ALL= LC_MESSAGES= LANG=de_DE.UTF-8 -- -qm:tempdir "$temp_arg" -qm:javahome "$home"
fi
check "a German user sees text 23 in German" 1 "$(grep -c -F "$(text de 23)" <<< "$ERR")"
launcher=$sample

# A download cut short lost the archive's end, and so the mark that says
# there is an archive: the launcher carries nothing to run and fails without
# starting anything. A damaged index is checked in launcher_e2e.sh.
head -c -200 "$sample" > "$work/truncated"
launcher=$work/truncated
[ "$mode" = native ] && chmod +x "$launcher"
[ "$mode" = native ] || rm -f "$fake/bin/args.txt"
run "${english[@]}" -- -qm:tempdir "$temp_arg" -qm:javahome "$home" one
check "a truncated launcher exits -1 and starts nothing" "255|" "$RC|$(received)"
check "a truncated launcher leaves the temp root empty" "" "$(ls -A "$temp")"
launcher=$sample

# A temp directory named relative to a current directory that is not the
# launcher's: the programs the launcher starts elsewhere still find its files.
mkdir -p "$work/elsewhere"
[ "$mode" = native ] || rm -f "$fake/bin/args.txt"
run_in "$work/elsewhere" "${english[@]}" -- -qm:tempdir ../temp -qm:javahome "$home" one
check "a relative temp directory works from another directory" "0|one" "$RC|$(received)"
check "a relative temp directory is left empty" "" "$(ls -A "$temp")"

# A temp directory that does not exist, or cannot be written.
run "${english[@]}" -- -qm:tempdir "$(log_name no-such-dir)" -qm:javahome "$home" one
missing_text=$(text en 36 | sed "s|%1!s!|$(windows_path "$work/no-such-dir" | sed 's/[\\|&]/\\&/g')|")
check "a missing temp directory is named in text 36 and the run fails" "yes|255" \
  "$(grep -q -F "$missing_text" <<< "$ERR" && echo yes || echo no)|$RC"
check "a missing temp directory is not created" no "$([ -e "$work/no-such-dir" ] && echo yes || echo no)"
mkdir -p "$work/locked"
locked=""
if [ "$mode" = native ] && [ "$(id -u)" != 0 ]; then
  chmod 555 "$work/locked" && locked=chmod
elif chattr +i "$work/locked" 2>/dev/null; then
  locked=chattr
fi
if [ -n "$locked" ]; then
  [ "$mode" = native ] || rm -f "$fake/bin/args.txt"
  run "${english[@]}" -- -qm:tempdir "$(log_name locked)" -qm:javahome "$home" one
  [ "$locked" = chattr ] && chattr -i "$work/locked" || chmod 755 "$work/locked"
  check "a temp directory that cannot be written fails the run" 255 "$RC"
  check "a temp directory that cannot be written is left as it was" "" "$(ls -A "$work/locked")"
  check "a temp directory that cannot be written starts nothing" "" "$(received)"
else
  echo "note $mode: no way to make a directory unwritable here (root without chattr); not checked"
fi

# One command from a jar to a launcher: the main class from the jar, Java
# found where the user has it, paths with blanks whole, the user's working
# directory kept; a jar without a main class is refused by name.
if [ "$mode" = native ]; then
  direct_out="$work/direct out/bin"
  "$qmpack" --jar "$application" --name "Sample App" -o "$direct_out/sample app" > "$work/direct.txt" 2>&1
  check "direct mode writes a launcher into a directory it makes" 0 "$?"
  mkdir -p "$work/direct cwd"
  saved=$launcher
  launcher="$direct_out/sample app"
  run_in "$work/direct cwd" "${english[@]}" JAVA_HOME="$home" -- -qm:tempdir "$temp_arg" "one two" --paths
  launcher=$saved
  check "the direct launcher runs the jar's main class with the arguments whole" \
    "Hello from the Quillmark sample application.|Argument: [one two]|user.dir: [$work/direct cwd]" \
    "$(grep -E '^(Hello from|Argument:|user\.dir:)' <<< "$OUT" | paste -sd '|')"
  check "the temp root is empty after the direct launcher" "" "$(ls -A "$temp")"
  "$qmpack" --jar "$verifier" -o "$work/direct out/none" > /dev/null 2> "$work/direct.err"
  check "a jar without a main class is refused by name" \
    "1|qmpack: $verifier: the jar's manifest names no Main-Class; give one with --main-class" \
    "$?|$(cat "$work/direct.err")"
fi

# A generated Windows launcher finds a JDK where a vendor's installer puts it.
if [ "$mode" = wine ] && [ -f "$build/samples/sample.jar" ]; then
  vendor="$prefix/drive_c/Program Files/Zulu/zulu-17"
  mkdir -p "$vendor/bin"
  cp "$fake/bin/java.exe" "$fake/bin/fake-jvm.txt" "$vendor/bin/"
  "$qmpack" --jar "$build/samples/sample.jar" --target windows --stub "$stub" \
    --verifier "$verifier" -o "$work/direct-win/sample.exe" > /dev/null
  saved=$launcher
  launcher=$work/direct-win/sample.exe
  run "${english[@]}" JAVA_HOME= -- -qm:tempdir "$temp_arg" one
  launcher=$saved
  check "a generated Windows launcher runs a JDK in a vendor's Program Files folder" \
    "quillmark.sample.Main|one" \
    "$(tr -d '\r' < "$vendor/bin/args.txt" 2>/dev/null | grep -E '^(quillmark\.sample\.Main|one)$' | paste -sd '|')"
  rm -rf "$prefix/drive_c/Program Files/Zulu"
fi

finish
