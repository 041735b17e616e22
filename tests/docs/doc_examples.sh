#!/usr/bin/env bash
# Runs the examples of the documentation, so that what the documents show is
# what the launcher does. tests/docs/README.md describes how an example is
# marked.
#
#   tests/docs/doc_examples.sh BUILD_DIR [DOCUMENT.md...]
#
# BUILD_DIR holds qmlauncher, qmpack and Verify.jar. Without documents, every
# marked example of README.md, docs/*.md and docs/reference/*.md runs. Each
# example runs in a directory of its own, with QM_BUILD naming BUILD_DIR and
# QM_SOURCE the source tree. Prints one line per example and ends with
# "docs: N passed, N failed".
set -u
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
[ $# -ge 1 ] || { echo "usage: $0 BUILD_DIR [DOCUMENT.md...]" >&2; exit 2; }
build=$(cd "$1" && pwd) || exit 2
shift
documents=("$@")
[ ${#documents[@]} -gt 0 ] || documents=("$top/README.md" "$top"/docs/*.md "$top"/docs/reference/*.md)

work=$(mktemp -d)
trap '[ -n "${QM_DOCS_KEEP:-}" ] || rm -rf "$work"' EXIT
[ -z "${QM_DOCS_KEEP:-}" ] || echo "NOTE: the examples run in $work, which is kept"
step_seconds=${QM_DOCS_STEP_SECONDS:-300}
passed=0
failed=0

for tool in qmlauncher qmpack Verify.jar; do
  [ -f "$build/$tool" ] || echo "NOTE: $build/$tool is missing; the examples that use it fail"
done

report_failure() {  # report_failure NAME REASON [FILE LABEL]...
  echo "FAIL docs: $1"
  echo "     $2"
  shift 2
  while [ $# -ge 2 ]; do
    echo "     $2:"
    sed 's/^/       | /' "$1" | head -40
    shift 2
  done
}

# run_example NAME STEPS_PREFIX DIRECTORY TEMP_DIRECTORY: runs the steps of one example in order.
run_example() {
  local name=$1 steps=$2 dir=$3 temp=$4
  mkdir -p "$dir" "$temp"
  local last_out="" last_step="" step
  for step in "$steps"-*.*; do
    case $step in
      *.path | *.exit) continue ;;
    esac
    local base=${step%.*}
    case $step in
      *.error)
        report_failure "$name" "$(cat "$step")"
        return 1 ;;
      *.file)
        local path
        path=$(cat "$base.path")
        mkdir -p "$dir/$(dirname "$path")"
        cp "$step" "$dir/$path" ;;
      *.sh)
        local expected_status status
        expected_status=$(cat "$base.exit")
        (cd "$dir" && env -u LC_MESSAGES -u LANGUAGE LC_ALL=C LANG=C \
          QM_BUILD="$build" QM_SOURCE="$top" TMPDIR="$temp" \
          timeout "$step_seconds" bash -e "$step") < /dev/null > "$base.out" 2> "$base.err"
        status=$?
        # The example's directory is a fresh temporary one; documents write it as $PWD.
        sed -i "s|$dir|\$PWD|g" "$base.out" "$base.err"
        if [ "$status" -ne "$expected_status" ]; then
          report_failure "$name" "commands exited with $status, not $expected_status" \
            "$step" commands "$base.out" "standard output" "$base.err" "standard error"
          return 1
        fi
        last_out=$base.out
        last_step=$step ;;
      *.output)
        if [ -z "$last_out" ]; then
          report_failure "$name" "an output block that follows no sh block"
          return 1
        fi
        if ! awk -f "$here/match_output.awk" "$step" "$last_out"; then
          report_failure "$name" "the output differs" "$last_step" commands \
            "$step" expected "$last_out" actual "${last_out%.out}.err" "standard error"
          return 1
        fi
        last_out="" ;;
    esac
  done
}

index=0
for document in "${documents[@]}"; do
  [ -f "$document" ] || continue
  index=$((index + 1))
  out=$work/extract/$index
  mkdir -p "$out"
  : > "$out/examples"
  relative=${document#"$top"/}
  relative=${relative#docs/}
  awk -v out="$out" -v doc="${relative%.md}" -f "$here/extract_examples.awk" "$document"
  while IFS=$'\t' read -r number name; do
    if run_example "$name" "$out/$number" "$work/run/$index-$number" \
      "$work/tmp/$index-$number"; then
      passed=$((passed + 1))
      echo "ok   docs: $name"
    else
      failed=$((failed + 1))
    fi
  done < "$out/examples"
done

if [ $((passed + failed)) -eq 0 ]; then
  # A runner that finds nothing to run must not read as a pass.
  echo "FAIL docs: no marked examples were found"
  failed=1
fi
echo "docs: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
