#!/usr/bin/env bash
# Installs what is missing, builds, and runs the filter through the test host on the built-in
# 1920x1080 clip: 1280x720 with Spline36 as a save run, so the plug-in times every frame.
# Writes build/out.y4m and prints the frame times. Extra arguments go to quorlin_host.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
bash "$root/scripts/setup.sh"
CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2} BUILD_DIR="$build" bash "$root/scripts/build.sh"
sh "$root/cmake/wine-run.sh" "$build/tools/host/quorlin_host.exe" --auf "Z:$build/dist/Quorlin.auf" \
  --size 1280x720 --luma Spline36 --chroma Spline36 --save \
  -o "Z:$build/out.y4m" "$@"
