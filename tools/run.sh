#!/usr/bin/env bash
# The main job: builds the launcher for this machine and for Windows, then
# runs the native launcher. Any arguments are given to the launcher; without
# arguments it is asked for its version.
#
#   tools/run.sh [launcher options and arguments...]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash tools/setup.sh
for tree in release:"" win32-release:"-DCMAKE_TOOLCHAIN_FILE=$top/cmake/mingw32.cmake"; do
  name=${tree%%:*}
  toolchain=${tree#*:}
  [ -f "build/$name/build.ninja" ] ||
    cmake -S . -B "build/$name" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQM_TESTS=OFF \
      ${toolchain:+"$toolchain"} > /dev/null
  ninja -C "build/$name" qmlauncher > /dev/null
done
echo "launcher: build/release/qmlauncher; Windows launcher: build/win32-release/qmlauncher.exe"
[ $# -gt 0 ] || set -- -qm:version
exec build/release/qmlauncher "$@"
