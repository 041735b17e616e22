# Sourced by scripts that need a packed product around a fake JVM whose
# program part they choose: the signals check, the benchmark's captured
# output, and the reliability script's writer.
#
#   fake_java HOME PROGRAM   writes HOME/bin/java: it answers the verifier as
#                            "Fake Inc." and, run as the program, runs the
#                            shell text PROGRAM
#   pack_fake_product QMPACK STUB OUTPUT HOME
#                            packs OUTPUT from STUB: the sample instruction
#                            script, a JVM file for HOME's fake, and small
#                            stand-ins for the verifier and the application
#   pack_product QMPACK STUB OUTPUT JVM_FILE APPLICATION
#                            the same with a JVM file and an application
#                            archive of the caller's; both leave the
#                            manifest beside OUTPUT as OUTPUT.manifest
fake_product_fixtures=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/fixtures

fake_java() {
  mkdir -p "$1/bin"
  {
    printf '#!/bin/sh\nfor last in "$@"; do :; done\n'
    printf 'if [ "$last" = java.vendor ]; then printf '"'"'1739021872\\nFake Inc.\\n'"'"'; exit 0; fi\n'
    printf '%s\n' "$2"
  } > "$1/bin/java"
  chmod +x "$1/bin/java"
}

pack_fake_product() {
  local qmpack=$1 stub=$2 output=$3
  printf 'DESC: Fake\nJVM_EXE: bin/java\nCLASSPATH: "-cp "\nCLASSPATH_SEPARATOR: :\nSYSTEM: -D\nSYSTEM_SEPARATOR: =\nJVM_PROPERTIES: "java.vendor=Fake Inc."\n' \
    > "$output.jvm"
  pack_product "$qmpack" "$stub" "$output" "$output.jvm" "$fake_product_fixtures/app.jar"
}

pack_product() {
  local qmpack=$1 stub=$2 output=$3 jvm_file=$4 application=$5 fixtures=$fake_product_fixtures
  cat > "$output.manifest" << MANIFEST
STUB: $stub
OUTPUT: $output
ENTRIES:
  INSTRUCTIONS 0 "$fixtures/sample-instructions.txt" name=instructions.txt
  VERIFIER_ARCHIVE 1 "$fixtures/app.jar" name=Verify.jar
  LAUNCHSCRIPT 2 "$fixtures/hello-launch.txt" name=launch.txt
  JVM 3 "$jvm_file"
  APPLICATION_ARCHIVE 4 "$application"
/:
MANIFEST
  "$qmpack" "$output.manifest" > /dev/null
}
