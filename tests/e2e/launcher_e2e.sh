#!/usr/bin/env bash
# Drives a built launcher as a user and a calling program would, and checks
# what it prints, logs and returns.
#
#   launcher_e2e.sh native LAUNCHER
#   launcher_e2e.sh wine   LAUNCHER.exe PREFIX   (tools/wine.sh sourced and initialised)
#
# Prints one line per check and ends with "e2e: N passed, N failed".
set -u
mode=$1
launcher=$(realpath "$2")
prefix=${3:+$(realpath "$3")}
here=$(cd "$(dirname "$0")" && pwd)
messages=$here/../../src/resources/messages
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

# run [ENV=VALUE...] -- ARGS...: runs the launcher; sets OUT (carriage returns
# dropped, Windows output converted from its ANSI code page) and RC.
run() {
  local env=()
  while [ "$1" != -- ]; do env+=("$1"); shift; done
  shift
  if [ "$mode" = wine ]; then
    OUT=$(cd "$work" && env "${env[@]}" WINEPREFIX="$prefix" "$WINELOADER" "$launcher" "$@" \
          2>/dev/null | iconv -f cp1252 -t utf-8 | tr -d '\r'; exit "${PIPESTATUS[0]}")
  else
    OUT=$(cd "$work" && env "${env[@]}" "$launcher" "$@" 2>/dev/null)
  fi
  RC=$?
}

check() {
  local name=$1 expected=$2 actual=$3
  if [ "$expected" = "$actual" ]; then
    passed=$((passed + 1))
    echo "ok   $mode: $name"
  else
    failed=$((failed + 1))
    echo "FAIL $mode: $name"
    echo "     expected: $(printf '%q' "$expected")"
    echo "     actual:   $(printf '%q' "$actual")"
  fi
}

text() {  # text LANGUAGE NUMBER: a message text as the tables hold it
  sed -n "s/^QM_TEXT($2, \"\\(.*\\)\")\$/\\1/p" "$messages/$1.def"
}

english=(LC_ALL=C LANG=C)

run "${english[@]}" -- -qm:version
check "-qm:version prints the version" "2.51" "$OUT"
check "-qm:version exits 0" 0 "$RC"

run "${english[@]}" -- -qm:silent -qm:version
check "-qm:silent -qm:version prints nothing" "" "$OUT"
check "-qm:silent -qm:version exits 0" 0 "$RC"

run "${english[@]}" -- -qm:in
check "-qm:in without a name shows text 22" "$(text en 22)" "$OUT"
check "-qm:in without a name exits -1" 255 "$RC"

if [ "$mode" = wine ]; then
  run LC_ALL=de_DE.UTF-8 -- -qm:in
else
  run LC_ALL= LC_MESSAGES= LANG=de_DE.UTF-8 -- -qm:in
fi
check "German user interface shows text 22 in German" "$(text de 22)" "$OUT"

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
log=$(tr -d '\r' < "$work/run.log" 2>/dev/null)
check "two runs write two separator lines" 2 "$(grep -c '^------------------$' <<< "$log")"
check "the failure is logged as an error" 2 \
  "$(grep -c '^ERROR: Unable to load the launcher file index. ' <<< "$log")"

echo "e2e: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
