#!/usr/bin/env bash
# Configures and builds into ${BUILD_DIR:-build}: everything, or only the targets given
# (bash scripts/build.sh quorlin_dist quorlin_resizer).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$build" ${1:+--target "$@"}
