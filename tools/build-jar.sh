#!/usr/bin/env bash
# Builds a jar from every .java file below SOURCE_DIR with the installed
# javac, for the oldest class-file version that compiler can target, so that
# the oldest JVMs can run it. MAIN_CLASS, when given, makes the jar runnable
# with java -jar.
#   build-jar.sh SOURCE_DIR OUTPUT_JAR [MAIN_CLASS]
set -euo pipefail
source_dir=$1
output=$2
main_class=${3:-}
classes=$(mktemp -d)
trap 'rm -rf "$classes"' EXIT
mapfile -t sources < <(find "$source_dir" -name '*.java' | LC_ALL=C sort)
for release in 6 7 8 9 10 11; do
  if javac -nowarn --release "$release" -d "$classes" "${sources[@]}" 2>/dev/null; then
    mkdir -p "$(dirname "$output")"
    jar --create --file "$output" ${main_class:+--main-class "$main_class"} -C "$classes" .
    exit 0
  fi
done
echo "build-jar.sh: javac could not compile the sources in $source_dir" >&2
javac -nowarn -d "$classes" "${sources[@]}"
exit 1
