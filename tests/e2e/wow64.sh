#!/usr/bin/env bash
# The shipped 32-bit launcher on 64-bit Windows with a 64-bit JDK, the most
# common set-up of launchers of this kind: in a 64-bit Wine prefix (where
# 32-bit programs run as under WOW64) the JDK is registered only in the
# 64-bit view of the registry, and its bin\java.exe is a 64-bit program.
# The launcher must find the home through the 64-bit view, say so in its
# log, verify the 64-bit java.exe through its captured output and launch it.
#
#   wow64.sh wine LAUNCHER.exe QMPACK PREFIX   (PREFIX: a 64-bit prefix)
#
# Needs a machine that runs 32-bit programs and the 64-bit mingw-w64 C
# compiler. Ends with "wow64: N passed, N failed".
source "$(dirname "$0")/lib.sh" wow64 "$@"
# Both widths of program share the prefix's one 64-bit server.
export WINESERVER=/usr/lib/wine/wineserver64
unset WINEARCH

home=$work/jdk64
mkdir -p "$home/bin" "$work/temp"
x86_64-w64-mingw32-gcc -O2 -o "$home/bin/java.exe" "$here/wow64_java.c" ||
  { echo "cannot build the 64-bit stand-in"; failed=1; finish; exit; }
printf '1739021872\r\nFake Inc.\r\n' > "$home/bin/fake-jvm.txt"
printf 'PK fake application\n' > "$work/Hello.jar"
key="SOFTWARE\\QuillmarkWow64-$$"
windows_home="Z:$(tr / '\\' <<< "$home")"
WINEPREFIX=$prefix /usr/lib/wine/wine64 reg add "HKLM\\$key" /v JavaHome /d "$windows_home" \
  /reg:64 /f > /dev/null 2>&1
trap 'WINEPREFIX=$prefix /usr/lib/wine/wine64 reg delete "HKLM\\$key" /reg:64 /f > /dev/null 2>&1;
      [ -n "${QM_E2E_KEEP:-}" ] || rm -rf "$work"' EXIT

# The fake JVM file with one hint: the key of the 64-bit view.
{
  sed '/^JVM_PROPERTIES/,$d' "$fixtures/fake.jvm"
  printf 'PLATFORM_HINT: \\HKEY_LOCAL_MACHINE\\%s\\JavaHome\n' "$key"
  sed -n '/^JVM_PROPERTIES/,$p' "$fixtures/fake.jvm"
} > "$work/wow64.jvm"
source "$here/fake_product.sh"
pack_product "$qmpack" "$launcher" "$work/product.exe" "$work/wow64.jvm" "$work/Hello.jar" ||
  { echo "packing failed"; failed=1; finish; exit; }
check "the launcher is a 32-bit program" 1 "$(i686-w64-mingw32-objdump -f "$launcher" | grep -c 'file format pei-i386')"
check "the JDK is not in the 32-bit view" 1 \
  "$(WINEPREFIX=$prefix /usr/lib/wine/wine64 reg query "HKLM\\$key" /reg:32 > /dev/null 2>&1; echo $?)"

launcher=$work/product.exe
run "${english[@]}" -- -qm:tempdir temp -qm:log run.log "two words"
check "the 64-bit JVM's program runs and its exit code is the launcher's" 0 "$RC"
check "the home is found through the 64-bit view, and the log says so" 1 \
  "$(log_text "$work/run.log" | grep -c -F "Checking JVM at $windows_home which was resolved from platform hint \\HKEY_LOCAL_MACHINE\\$key\\JavaHome in the 64-bit view of the registry")"
check "the 64-bit java.exe answered the verifier through the captured output" 1 \
  "$(log_text "$work/run.log" | grep -c -F "Found matching JVM at $windows_home")"
check "the verifier and the program both ran as 64-bit programs" "64-bit|64-bit" \
  "$(cut -d' ' -f1 "$home/bin/args.txt" | paste -sd '|')"
check "the program got its arguments" 1 "$(tail -1 "$home/bin/args.txt" | grep -c -F 'Hello "two words"')"
check "the temp root is empty after the run" "" "$(ls -A "$work/temp")"
finish
