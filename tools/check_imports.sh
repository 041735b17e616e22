#!/usr/bin/env bash
# Checks that a shipped Windows program imports only functions that the
# Windows versions it promises export: every import of EXE must be listed in
# tools/win32-imports.txt (with its oldest Windows of each family).
#
#   tools/check_imports.sh EXE
#
# Prints one line per unlisted import and ends with "imports: N passed, N failed".
set -u
list=$(dirname "$0")/win32-imports.txt
exe=$1
imports=$(i686-w64-mingw32-objdump -p "$exe" 2> /dev/null |
          awk '/DLL Name:/ { dll = $3; next }
               dll && /^\t[0-9a-f]+\t +[0-9]+  / { print dll, $3 }' | sort -u)
if [ -z "$imports" ]; then
  echo "FAIL no import table could be read from $exe"
  echo "imports: 0 passed, 1 failed"
  exit 1
fi
known=$(grep -v '^#' "$list" | awk 'NF { print $1, $2 }' | sort -u)
unlisted=$(comm -23 <(echo "$imports") <(echo "$known"))
passed=$(comm -12 <(echo "$imports") <(echo "$known") | wc -l)
failed=0
while read -r dll function; do
  [ -n "$dll" ] || continue
  echo "FAIL $exe imports $dll $function, which $list does not list with its oldest Windows"
  failed=$((failed + 1))
done <<< "$unlisted"
echo "imports: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
