#!/usr/bin/env bash
# Times the command-line resizer against ffmpeg on the same job, in one run and on one input
# file: 1920x1080 4:2:0 Y4M to 1280x720 with Spline36, written to /dev/null.
#   - YC48:  quorlin_host            vs ffmpeg -vf scale=1280:720:flags=spline -pix_fmt yuv444p
#   - YUY2:  quorlin_host --yuy2     vs the same with -pix_fmt yuv422p
# Wall time of the whole command, Wine's start-up included. The four commands run in
# alternating rounds (the machine may be shared and its speed drifts), and each figure is the
# median over the rounds. The ratio is the test host's time over ffmpeg's: at most 1.0 means
# the resizer is as fast as ffmpeg or faster.
#
#   scripts/bench-cli.sh [rounds] [frames]   (BUILD_DIR as for scripts/build.sh; 5 and 300)
# The input (about 3 MB a frame) is made once with ffmpeg's testsrc2 and kept in the build tree.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
rounds=${1:-5}
frames=${2:-300}
wine=("sh" "$root/cmake/wine-run.sh")

command -v ffmpeg >/dev/null || apt-get install -y ffmpeg >/dev/null
CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2} BUILD_DIR="$build" \
  bash "$root/scripts/build.sh" >/dev/null
input="$build/bench-cli/in-1080p-$frames.y4m"
if ! [ -f "$input" ]; then
  mkdir -p "$build/bench-cli"
  ffmpeg -hide_banner -nostdin -loglevel error -f lavfi -i "testsrc2=size=1920x1080:rate=30" \
    -frames:v "$frames" -pix_fmt yuv420p -y "$input"
fi

host=("${wine[@]}" "$build/tools/host/quorlin_host.exe" --quiet --auf "Z:$build/dist/Quorlin.auf"
      --size 1280x720 --luma Spline36 "Z:$input" -o -)
ffmpeg_cmd() {  # pixel format
  ffmpeg -hide_banner -nostdin -loglevel error -i "$input" -vf scale=1280:720:flags=spline \
    -pix_fmt "$1" -f yuv4mpegpipe -y /dev/null
}

log="$build/bench-cli/last-run.log"  # the host's own report of each run
seconds() {  # command...: wall time of one run
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>>"$log"
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN {printf "%.3f\n", b - a}'
}
median() { sort -g | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

: >"$log"
results=$(mktemp)
trap 'rm -f "$results"' EXIT
echo "load before: $(uptime | sed 's/.*load average: //')" >&2
for round in $(seq "$rounds"); do
  echo "ffmpeg444 $(seconds ffmpeg_cmd yuv444p)" >>"$results"
  echo "host444 $(seconds "${host[@]}")" >>"$results"
  echo "ffmpeg422 $(seconds ffmpeg_cmd yuv422p)" >>"$results"
  echo "host422 $(seconds "${host[@]}" --yuy2)" >>"$results"
done
echo "load after: $(uptime | sed 's/.*load average: //')" >&2

figure() { awk -v n="$1" '$1 == n {print $2}' "$results" | median; }
echo "$frames frames 1920x1080 4:2:0 Y4M -> 1280x720 Spline36 -> /dev/null, wall seconds," \
     "median of $rounds alternating rounds"
printf '%-34s %8s %8s %7s\n' "job" "host s" "ffmpeg s" "ratio"
for job in "444 YC48 vs -pix_fmt yuv444p" "422 YUY2 vs -pix_fmt yuv422p"; do
  tag=${job%% *}
  h=$(figure "host$tag")
  f=$(figure "ffmpeg$tag")
  printf '%-34s %8.3f %8.3f %7.2f\n' "${job#* }" "$h" "$f" "$(awk -v a="$h" -v b="$f" 'BEGIN {print a / b}')"
done
