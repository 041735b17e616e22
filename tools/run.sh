#!/usr/bin/env bash
# The main job: builds the launcher for this machine and for Windows, packs
# the sample application into a launcher for each (samples/*.manifest), and
# runs the Linux sample launcher with the given arguments. The launcher finds
# this machine's JDK, verifies it and starts the sample application, whose
# output appears on the console; the exit code is the application's.
#
#   tools/run.sh [launcher options and application arguments...]
#   tools/run.sh --wine [...]   runs the Windows sample launcher under Wine
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
wine=
if [ "${1:-}" = --wine ]; then
  wine=1
  shift
fi
bash tools/setup.sh >&2

# build TREE TOOLCHAIN: a release tree with the launcher, qmpack, Verify.jar
# and the sample application's jar.
build() {
  local tree=$1 toolchain=$2
  [ -f "build/$tree/build.ninja" ] ||
    cmake -S . -B "build/$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQM_TESTS=OFF \
      ${toolchain:+"-DCMAKE_TOOLCHAIN_FILE=$top/cmake/$toolchain"} > /dev/null
  ninja -C "build/$tree" > /dev/null
}
build release ""
build win32-release mingw32-shipped.cmake
mkdir -p build/samples
build/release/qmpack samples/linux.manifest > /dev/null
build/release/qmpack samples/windows.manifest > /dev/null
echo "sample launchers: build/samples/quillmark-sample (Linux)," \
  "build/samples/quillmark-sample.exe (Windows)" >&2

if [ -z "$wine" ]; then
  exec build/samples/quillmark-sample "$@"
fi

# Under Wine the launcher searches the Windows side of the prefix: the
# registry keys and "\Program Files\Java\jdk-N" directories of its JVM files
# (unpack a Windows JDK there, or pass -qm:javahome with its Windows path).
# A machine that cannot execute 32-bit programs runs the same sources built
# as a 64-bit Windows program under 64-bit Wine.
source tools/wine.sh
qm_wine_init build
exe=build/samples/quillmark-sample.exe
if [ "$QM_WINE_BITS" = 64 ]; then
  build win64-release mingw64.cmake
  # The Windows manifest with its paths made absolute, the 64-bit stub and
  # an output of its own.
  awk -v dir="$top/samples" '
    /^(STUB|OUTPUT):/ { print $1 " \"" dir "/" $2 "\""; next }
    /^ +[A-Z_]+ [0-9]+ / { $3 = "\"" dir "/" $3 "\""; print "  " $0; next }
    { print }' samples/windows.manifest |
    sed -e 's|/win32-release/|/win64-release/|' -e 's|quillmark-sample\.exe|quillmark-sample64.exe|' \
    > build/samples/windows64.manifest
  build/release/qmpack build/samples/windows64.manifest > /dev/null
  exe=build/samples/quillmark-sample64.exe
  echo "NOTE: this machine cannot run 32-bit programs; running $exe under 64-bit Wine" >&2
fi
prefix=$(qm_wine_prefix user)
exec env WINEPREFIX="$prefix" "$QM_WINE_LOADER" "$exe" "$@"
