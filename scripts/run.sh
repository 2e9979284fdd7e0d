#!/usr/bin/env bash
# The main job: installs what is missing, builds the plug-in, its libraries and the test host
# (not the tests), and resizes the host's built-in 1920x1080 clip to 1280x720 with Spline36
# through the real Quorlin.auf, as a save run, so the plug-in times every frame. The video goes
# through a pipe and is not kept: the last output frame is saved as build/run/last-frame.png.
# Extra arguments go to quorlin_host (for example --kernel SSE2 or --luma Lanczos).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
bash "$root/scripts/setup.sh" python3
CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2} BUILD_DIR="$build" \
  bash "$root/scripts/build.sh" quorlin_dist quorlin_host

mkdir -p "$build/run"
picture=$build/run/last-frame.png
echo "run: Quorlin.auf and its DLL folder are in $build/dist"
sh "$root/cmake/wine-run.sh" "$build/tools/host/quorlin_host.exe" --auf "Z:$build/dist/Quorlin.auf" \
  --size 1280x720 --luma Spline36 --chroma Spline36 --save -o - "$@" \
  | /usr/bin/python3 "$root/scripts/frame-to-png.py" - "$picture"
echo "run: open $picture to see the last output frame"
