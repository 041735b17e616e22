# Sourced by the end-to-end scripts: their arguments, a work folder removed
# at exit (kept with QM_E2E_KEEP=1), and the helpers that run the launcher
# and count checks.
#
#   source lib.sh SUITE MODE LAUNCHER QMPACK [PREFIX]
#
# MODE is native or wine (tools/wine.sh sourced and initialised; PREFIX is
# the Wine prefix). QMPACK is the native packer; it packs the Windows stub as
# well.
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
suite=$1
mode=$2
launcher=$(realpath "$3")
qmpack=$(realpath "$4")
prefix=${5:+$(realpath "$5")}
fixtures=$here/fixtures
messages=$here/../../src/resources/messages
work=$(mktemp -d)
trap '[ -n "${QM_E2E_KEEP:-}" ] || rm -rf "$work"' EXIT
passed=0
failed=0

# run_in DIR [ENV=VALUE...] -- ARGS...: runs the launcher in DIR; sets OUT
# (standard output: the application's and the service actions' results) and
# ERR (standard error: the launcher's status lines and messages), carriage
# returns dropped (the Windows launcher writes UTF-8, its code page), and
# Wine's own lines left out; and RC. QM_E2E_WRAPPER, when set, is put before
# every native launcher (valgrind, for instance).
run_in() {
  local dir=$1 env=()
  shift
  while [ "$1" != -- ]; do env+=("$1"); shift; done
  shift
  if [ "$mode" = wine ]; then
    OUT=$(cd "$dir" && env "${env[@]}" WINEPREFIX="$prefix" "$WINELOADER" "$launcher" "$@" \
          2>"$work/stderr" | tr -d '\r'; exit "${PIPESTATUS[0]}")
    RC=$?
    ERR=$(tr -d '\r' < "$work/stderr" |
          grep -Ev '^([0-9a-f]{4}:(fixme|err|warn|trace|info):|wine: )')
    rm -f "$work/stderr"
    return "$RC"
  else
    # shellcheck disable=SC2086
    OUT=$(cd "$dir" && env "${env[@]}" ${QM_E2E_WRAPPER:-} "$launcher" "$@" 2>"$work/stderr")
  fi
  RC=$?
  ERR=$(cat "$work/stderr" 2>/dev/null)
  rm -f "$work/stderr"
}

# windows_path PATH: the path as the launcher sees it.
windows_path() { [ "$mode" = wine ] && echo "Z:$(tr / '\\' <<< "$1")" || echo "$1"; }

# log_text FILE: a log without carriage returns and without the time that
# begins each of the launcher's lines.
log_text() {
  tr -d '\r' < "$1" | sed -E 's/^[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}\.[0-9]{3}Z //'
}

# run [ENV=VALUE...] -- ARGS...: runs the launcher in the work folder.
run() { run_in "$work" "$@"; }

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

# log_name NAME: the path a launcher is given for a log in the work folder.
log_name() { [ "$mode" = wine ] && echo "$1" || echo "$work/$1"; }

# finish: the count line the test command reads, and the exit status.
finish() {
  echo "$suite: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
