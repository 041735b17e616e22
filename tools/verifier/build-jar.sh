#!/usr/bin/env bash
# Builds Verify.jar with the installed javac, for the oldest class-file
# version that compiler can target, so that the oldest JVMs can run it.
#   build-jar.sh SOURCE_DIR OUTPUT_JAR
set -euo pipefail
source_dir=$1
output=$2
classes=$(mktemp -d)
trap 'rm -rf "$classes"' EXIT
for release in 6 7 8 9 10 11; do
  if javac -nowarn --release "$release" -d "$classes" "$source_dir/Verify.java" 2>/dev/null; then
    jar --create --file "$output" -C "$classes" Verify.class
    exit 0
  fi
done
echo "build-jar.sh: javac could not compile Verify.java" >&2
exit 1
