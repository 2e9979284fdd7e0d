#!/usr/bin/env bash
# Times the command-line resizer against ffmpeg's two scalers on the same job, in one run and on
# one input file: 4:2:0 Y4M (1920x1080 unless given) to another size (1280x720 unless given)
# with Spline36, written to /dev/null.
#   - YC48:  quorlin_resizer         vs ffmpeg with swscale (-vf scale=W:H:flags=spline) and with
#            zscale (-vf zscale=w=W:h=H:filter=spline36), both -pix_fmt yuv444p
#   - YUY2:  quorlin_resizer --yuy2  vs the same two with -pix_fmt yuv422p
# Wall time of the whole command, Wine's start-up of the program included (and the processor
# time beside it, which shows the cost when a busy machine blurs the wall time). The six
# commands run in alternating rounds (the machine may be shared and its speed drifts), and each
# figure is the median over the rounds. A ratio is the resizer's time over ffmpeg's: at most
# 1.0 means the resizer is as fast as that scaler or faster; "paired" is the median of each
# round's ratio, which the drift between rounds moves less.
#
#   scripts/bench-cli.sh [rounds] [frames] [source WxH] [target WxH]
#   (BUILD_DIR as for scripts/build.sh; defaults 5, 300, 1920x1080, 1280x720)
# The input is made once with ffmpeg's testsrc2 and kept in the build tree.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
rounds=${1:-5}
frames=${2:-300}
source_size=${3:-1920x1080}
target_size=${4:-1280x720}
target_w=${target_size%x*} target_h=${target_size#*x}
# The resizer runs as the README starts it, `wine quorlin_resizer.exe ...`. Wine's background
# services are started once before the rounds (as cmake/wine-run.sh does before each test
# program, which would add its own 0.1-0.2 s to every timed run).
export WINEDEBUG=-all
wine=("wine")

bash "$root/scripts/setup.sh" ffmpeg
CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2} BUILD_DIR="$build" \
  bash "$root/scripts/build.sh" >/dev/null
input="$build/bench-cli/in-$source_size-$frames.y4m"
if ! [ -f "$input" ]; then
  mkdir -p "$build/bench-cli"
  ffmpeg -hide_banner -nostdin -loglevel error -f lavfi -i "testsrc2=size=$source_size:rate=30" \
    -frames:v "$frames" -pix_fmt yuv420p -y "$input"
fi

host=("${wine[@]}" "$build/tools/resizer/quorlin_resizer.exe" --quiet --auf "Z:$build/dist/Quorlin.auf"
      --size "$target_size" --luma Spline36 "Z:$input" -o -)
scaler_filter() {  # swscale | zscale
  case $1 in
    swscale) echo "scale=$target_w:$target_h:flags=spline" ;;
    zscale) echo "zscale=w=$target_w:h=$target_h:filter=spline36" ;;
  esac
}
ffmpeg_to() {  # scaler, pixel format
  ffmpeg -hide_banner -nostdin -loglevel error -i "$input" -vf "$(scaler_filter "$1")" \
    -pix_fmt "$2" -f yuv4mpegpipe -y /dev/null
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
  echo "swscale444 $(measure ffmpeg_to swscale yuv444p)" >>"$results"
  echo "zscale444 $(measure ffmpeg_to zscale yuv444p)" >>"$results"
  echo "host444 $(measure "${host[@]}")" >>"$results"
  echo "swscale422 $(measure ffmpeg_to swscale yuv422p)" >>"$results"
  echo "zscale422 $(measure ffmpeg_to zscale yuv422p)" >>"$results"
  echo "host422 $(measure "${host[@]}" --yuy2)" >>"$results"
done
echo "load after: $(uptime | sed 's/.*load average: //')" >&2

figure() { awk -v n="$1" -v f="$2" '$1 == n {print $f}' "$results" | median; }
# Each round's host wall time over the scaler's in the same round, then the median.
paired() {  # job tag, scaler
  paste <(awk -v n="host$1" '$1 == n {print $2}' "$results") \
        <(awk -v n="$2$1" '$1 == n {print $2}' "$results") | awk '{print $1 / $2}' | median
}
echo "$frames frames $source_size 4:2:0 Y4M -> $target_size Spline36 -> /dev/null; seconds of" \
     "wall time (processor time in brackets), medians of $rounds alternating rounds; ratio =" \
     "host / scaler, the median of each round's ratio"
printf '%-10s %15s %15s %15s %10s %10s\n' "job" "host" "swscale" "zscale" "/swscale" "/zscale"
for job in "444 YC48" "422 YUY2"; do
  tag=${job%% *}
  cells=()
  for who in host swscale zscale; do
    cells+=("$(printf '%.3f (%.3f)' "$(figure "$who$tag" 2)" "$(figure "$who$tag" 3)")")
  done
  printf '%-10s %15s %15s %15s %10.2f %10.2f\n' "${job#* }" "${cells[@]}" \
    "$(paired "$tag" swscale)" "$(paired "$tag" zscale)"
done
