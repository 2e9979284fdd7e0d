#!/usr/bin/env bash
# The main job: installs what is missing, builds the plug-in, its libraries, the resizer and the
# ExEdit2 effect Quorlin.auf2 (not the tests), and resizes the resizer's built-in 1920x1080 clip
# to 1280x720 through the real Quorlin.auf, as a save run, so the plug-in times every frame. The
# video goes through a pipe and is not kept unless -o FILE is given: the last output frame is saved as build/run/last-frame.png.
# Arguments go to quorlin_resizer as they are, after the script's own --size 1280x720 --save
# (the last value of an option wins): --luma Lanczos, --size 640x-2, an input file, -o FILE, --help.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
bash "$root/scripts/setup.sh" python3
CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2} BUILD_DIR="$build" \
  bash "$root/scripts/build.sh" quorlin_dist quorlin_resizer quorlin_auf2

resizer=(sh "$root/cmake/wine-run.sh" "$build/tools/resizer/quorlin_resizer.exe"
      --auf "Z:$build/dist/Quorlin.auf")
for arg in "$@"; do
  case $arg in
    -h|--help|--version) exec "${resizer[@]}" "$@" ;;
  esac
done

# -o FILE (the last one given, as the resizer takes it) keeps the video; the picture then comes
# from that file.
output=-
previous=
for arg in "$@"; do
  [ "$previous" = -o ] && output=$arg
  previous=$arg
done

mkdir -p "$build/run"
picture=$build/run/last-frame.png
report=$build/run/frame-to-png.log
echo "run: Quorlin.auf and its DLL folder are in $build/dist"
echo "run: Quorlin.auf2 for AviUtl ExEdit2 is in $build/x64/dist"
set +e
if [ "$output" = - ]; then
  "${resizer[@]}" --size 1280x720 --save -o - "$@" |
    /usr/bin/python3 "$root/scripts/frame-to-png.py" - "$picture" 2>"$report"
  status=("${PIPESTATUS[@]}")
else
  "${resizer[@]}" --size 1280x720 --save "$@"
  status=("$?")
  [ "${status[0]}" -ne 0 ] ||
    /usr/bin/python3 "$root/scripts/frame-to-png.py" "$output" "$picture" 2>"$report"
  status+=("$?")
fi
set -e
# A failed run has said why; what the picture step makes of its empty stream adds nothing.
[ "${status[0]}" -eq 0 ] || exit "${status[0]}"
cat "$report"
[ "${status[1]}" -eq 0 ] || exit "${status[1]}"
[ "$output" = - ] || echo "run: the video is in $output"
echo "run: open $picture to see the last output frame"
