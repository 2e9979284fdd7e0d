#!/usr/bin/env bash
# Benchmarks the RGBA engine of the ExEdit2 effect against zimg, in one run, and prints medians
# in milliseconds per frame and the ratios that matter:
#   - rgba_bench (64-bit, under wine64): Spline36, 8-bit RGBA, one thread with each instruction
#     set the processor runs, two threads with the automatic choice;
#   - zimg_bench rgba8 (native): zimg's best code (AVX-512 where the processor has it) resizing
#     the same four 8-bit planes (RGB and straight alpha), one thread;
#   - for 1920x1080 -> 1280x720, 1280x720 -> 1920x1080 and 3840x2160 -> 1920x1080;
#   - the floors (tools/bench/floors, native): the memory floor and the arithmetic floor of each
#     one-thread figure, from this machine's bandwidth and float multiply and add rates.
# The machine may be shared, so the two are measured in alternating rounds; each round's figure
# is the median of `runs` runs of 20 frames, and each figure below the median over the rounds.
# Wall time shows what a user waits; processor time (all of a process's threads) is disturbed
# less by other programs. The ratios are engine / zimg (targets: <= 0.6 shrinking, <= 0.7
# enlarging) and one thread / two threads (target: >= 1.85).
#
#   scripts/bench-rgba.sh [runs] [rounds]
#   (BUILD_X64: the 64-bit build tree, default build/x64; WINEPREFIX64: the wine64 prefix,
#   default ~/.wine64)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
x64=${BUILD_X64:-$root/build/x64}
runs=${1:-5}
rounds=${2:-3}
frames=20
export WINEPREFIX=${WINEPREFIX64:-$HOME/.wine64} WINEDEBUG=-all

bash "$root/scripts/setup.sh" g++ libzimg-dev
CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2} cmake --build "$x64" --target rgba_bench >/dev/null
mkdir -p "$x64/native"
g++ -O2 -std=c++17 -o "$x64/native/zimg_bench" "$root/tools/bench/zimg/zimg_bench.cpp" -lzimg
g++ -O2 -std=c++17 -o "$x64/native/floors" "$root/tools/bench/floors/floors.cpp" 2>/dev/null
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1 || true
# A wine server started inside a pipeline below would keep the pipe open after the program ends,
# and the pipeline would never finish: start it here, detached, to outlive the rounds by a minute.
wineserver -p60 </dev/null >/dev/null 2>&1 &

results=$(mktemp)
trap 'rm -f "$results"' EXIT
median() { sort -g | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
figure() { grep -F "$1|" "$results" | cut -d'|' -f2 | median; }  # name -> median

echo "load before: $(uptime | sed 's/.*load average: //')" >&2
geometries=("1920 1080 1280 720" "1280 720 1920 1080" "3840 2160 1920 1080")
for g in "${geometries[@]}"; do
  "$x64/native/floors" $g rgba 2>/dev/null >>"$results"
done
for round in $(seq "$rounds"); do
  # "rgba AVX2 1920x1080 -> 1280x720 1thr: W ms, fastest frame F ms, cpu C ms"
  wine "$x64/tools/bench/rgba/rgba_bench.exe" --frames $frames --runs "$runs" |
    awk '{g = $3 "->" $5; t = $6; sub(":", "", t)
          print "rgba " $2 " " g " " t " wall|" $7; print "rgba " $2 " " g " " t " cpu|" $14}' \
    >>"$results"
  for g in "${geometries[@]}"; do
    # "zimg-auto rgba8 1920x1080 -> 1280x720: W ms, fastest frame F ms, cpu C ms"
    "$x64/native/zimg_bench" $g $frames "$runs" rgba8 |
      awk '{g = $3 "->" $5; sub(":", "", g)
            print $1 " " g " wall|" $6; print $1 " " g " cpu|" $13}' >>"$results"
  done
done
echo "load after: $(uptime | sed 's/.*load average: //')" >&2

auto=$(grep -F ' 2thr wall|' "$results" | head -1 | awk '{print $2}')
printf '%-22s %-8s %9s %9s %9s %9s %8s %8s %8s\n' geometry kernel "1thr" "1thr cpu" \
  "zimg" "zimg cpu" "x zimg" "cpu x" "2thr x"
for g in "${geometries[@]}"; do
  read -r sw sh dw dh <<<"$g"
  name="${sw}x${sh}->${dw}x${dh}"
  zw=$(figure "zimg-auto $name wall"); zc=$(figure "zimg-auto $name cpu")
  for isa in $(grep -o "^rgba [^ ]* $name 1thr" "$results" | sort -u | awk '{print $2}'); do
    w=$(figure "rgba $isa $name 1thr wall"); c=$(figure "rgba $isa $name 1thr cpu")
    two=$([ "$isa" = "$auto" ] && figure "rgba $isa $name 2thr wall" || echo "")
    awk -v n="$name" -v k="$isa" -v w="$w" -v c="$c" -v zw="$zw" -v zc="$zc" -v two="$two" 'BEGIN {
      printf "%-22s %-8s %9.2f %9.2f %9.2f %9.2f %8.2f %8.2f %8s\n", n, k, w, c, zw, zc,
             w / zw, c / zc, two == "" ? "" : sprintf("%.2f", w / two) }'
  done
done
echo "(ms a frame, medians over $rounds rounds; x zimg = engine / zimg; 2thr x = 1 thread / 2 threads, wall)"
echo
echo "floors, one thread (ms a frame): the figure, its memory floor (frame bytes over this machine's"
echo "one-thread bandwidth), its arithmetic floor (float multiplies and adds over their peak rates),"
echo "and the figure over the larger floor"
printf '%-22s %-8s %9s %9s %9s %8s\n' geometry kernel "1thr" memory arith. ratio
for g in "${geometries[@]}"; do
  read -r sw sh dw dh <<<"$g"
  name="${sw}x${sh}->${dw}x${dh}"
  memory=$(figure "memory rgba $name")
  for isa in $(grep -o "^rgba [^ ]* $name 1thr" "$results" | sort -u | awk '{print $2}'); do
    arithmetic=$(figure "arithmetic $isa rgba $name")
    [ -n "$arithmetic" ] || continue
    w=$(figure "rgba $isa $name 1thr wall")
    awk -v n="$name" -v k="$isa" -v w="$w" -v m="$memory" -v a="$arithmetic" 'BEGIN {
      printf "%-22s %-8s %9.2f %9.2f %9.2f %7.2fx\n", n, k, w, m, a, w / (m > a ? m : a) }'
  done
done
