#!/usr/bin/env bash
# Times the command-line resizer against ffmpeg on the same job, in one run and on one input
# file: 1920x1080 4:2:0 Y4M to 1280x720 with Spline36, written to /dev/null.
#   - YC48:  quorlin_resizer            vs ffmpeg -vf scale=1280:720:flags=spline -pix_fmt yuv444p
#   - YUY2:  quorlin_resizer --yuy2     vs the same with -pix_fmt yuv422p
# Wall time of the whole command, Wine's start-up of the program included (and the processor
# time beside it, which shows the cost when a busy machine blurs the wall time). The four
# commands run in alternating rounds (the machine may be shared and its speed drifts), and each
# figure is the median over the rounds. The ratio is the resizer's time over ffmpeg's: at most
# 1.0 means the resizer is as fast as ffmpeg or faster.
#
#   scripts/bench-cli.sh [rounds] [frames]   (BUILD_DIR as for scripts/build.sh; 5 and 300)
# The input (about 3 MB a frame) is made once with ffmpeg's testsrc2 and kept in the build tree.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
rounds=${1:-5}
frames=${2:-300}
# The resizer runs as the README starts it, `wine quorlin_resizer.exe ...`. Wine's background
# services are started once before the rounds (as cmake/wine-run.sh does before each test
# program, which would add its own 0.1-0.2 s to every timed run).
export WINEDEBUG=-all
wine=("wine")

bash "$root/scripts/setup.sh" ffmpeg
CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2} BUILD_DIR="$build" \
  bash "$root/scripts/build.sh" >/dev/null
input="$build/bench-cli/in-1080p-$frames.y4m"
if ! [ -f "$input" ]; then
  mkdir -p "$build/bench-cli"
  ffmpeg -hide_banner -nostdin -loglevel error -f lavfi -i "testsrc2=size=1920x1080:rate=30" \
    -frames:v "$frames" -pix_fmt yuv420p -y "$input"
fi

host=("${wine[@]}" "$build/tools/resizer/quorlin_resizer.exe" --quiet
      --auf "Z:$build/dist/Quorlin.auf" --size 1280x720 --luma Spline36 "Z:$input" -o -)
ffmpeg_to() {  # pixel format
  ffmpeg -hide_banner -nostdin -loglevel error -i "$input" -vf scale=1280:720:flags=spline \
    -pix_fmt "$1" -f yuv4mpegpipe -y /dev/null
}
log="$build/bench-cli/last-run.log"  # the host's own report of each run
measure() {  # command...: "wall cpu" seconds of one run (cpu: user + system, Wine's server aside)
  local TIMEFORMAT='%R %U %S' times
  times=$( { time "$@" >/dev/null 2>>"$log"; } 2>&1 )
  awk '{printf "%.3f %.3f\n", $1, $2 + $3}' <<<"$times"
}
median() { sort -g | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

: >"$log"
wineboot </dev/null >/dev/null 2>&1
results=$(mktemp)
trap 'rm -f "$results"' EXIT
echo "load before: $(uptime | sed 's/.*load average: //')" >&2
for round in $(seq "$rounds"); do
  echo "ffmpeg444 $(measure ffmpeg_to yuv444p)" >>"$results"
  echo "host444 $(measure "${host[@]}")" >>"$results"
  echo "ffmpeg422 $(measure ffmpeg_to yuv422p)" >>"$results"
  echo "host422 $(measure "${host[@]}" --yuy2)" >>"$results"
done
echo "load after: $(uptime | sed 's/.*load average: //')" >&2

figure() { awk -v n="$1" -v f="$2" '$1 == n {print $f}' "$results" | median; }
# Each round's host wall time over ffmpeg's in the same round, then the median: the machine's
# speed drifts between rounds more than within one.
paired() {
  paste <(awk -v n="host$1" '$1 == n {print $2}' "$results") \
        <(awk -v n="ffmpeg$1" '$1 == n {print $2}' "$results") | awk '{print $1 / $2}' | median
}
echo "$frames frames 1920x1080 4:2:0 Y4M -> 1280x720 Spline36 -> /dev/null, seconds, median of" \
     "$rounds alternating rounds; ratio = host wall / ffmpeg wall; paired = the median of each" \
     "round's ratio"
printf '%-30s %8s %8s %7s %7s %9s %9s\n' "job" "host" "ffmpeg" "ratio" "paired" "host cpu" \
  "ffm. cpu"
for job in "444 YC48 vs -pix_fmt yuv444p" "422 YUY2 vs -pix_fmt yuv422p"; do
  tag=${job%% *}
  h=$(figure "host$tag" 2)
  f=$(figure "ffmpeg$tag" 2)
  printf '%-30s %8.3f %8.3f %7.2f %7.2f %9.3f %9.3f\n' "${job#* }" "$h" "$f" \
    "$(awk -v a="$h" -v b="$f" 'BEGIN {print a / b}')" "$(paired "$tag")" \
    "$(figure "host$tag" 3)" "$(figure "ffmpeg$tag" 3)"
done
