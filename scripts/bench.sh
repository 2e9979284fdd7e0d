#!/usr/bin/env bash
# Benchmarks Quorlin's kernels against zimg and FFmpeg on this machine, in one run, and prints
# medians in milliseconds per frame and the ratios that matter:
#   - quorlin_bench: the engine with each kernel library, YC48 and YUY2, Spline36, 1 and 2
#     threads, 1920x1080 <-> 1280x720 (and the table rebuild time);
#   - quorlin_host --save: the real Quorlin.auf in the test host, the plug-in's own frame timing;
#   - zimg (tools/bench/zimg, native): three 16-bit planes and 8-bit 4:2:2, one thread, with
#     its AVX2 code and with its best code (AVX-512 where the processor has it);
#   - ffmpeg's swscale (spline) and zscale (spline36), one filter thread and all cores.
# Installs g++, libzimg-dev and ffmpeg when missing (only this script uses them).
#
# The machine may be shared, and its speed drifts over minutes. So the engine and zimg, whose
# ratios are the targets, are measured in alternating rounds, and each of their figures is the
# median over the rounds (each round's figure being itself a median of `runs` runs).
#
#   scripts/bench.sh [runs] [rounds]   (BUILD_DIR as for scripts/build.sh; defaults 5 and 3)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
runs=${1:-5}
rounds=${2:-3}
frames=20
wine=("sh" "$root/cmake/wine-run.sh")

bash "$root/scripts/setup.sh" g++ libzimg-dev ffmpeg
CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2} BUILD_DIR="$build" bash "$root/scripts/build.sh" >/dev/null
mkdir -p "$build/native"
g++ -O2 -std=c++17 -o "$build/native/zimg_bench" "$root/tools/bench/zimg/zimg_bench.cpp" -lzimg

results=$(mktemp)
trap 'rm -f "$results"' EXIT
record() { echo "$1|$2" >>"$results"; }  # name|milliseconds
median() { sort -g | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

echo "load before: $(uptime | sed 's/.*load average: //')" >&2
geometries=("1920 1080 1280 720" "1280 720 1920 1080")

# Our kernels through the engine, and zimg, one thread, in alternating rounds.
for round in $(seq "$rounds"); do
  for mode in yc48 yuy2; do
    flag=$([ $mode = yuy2 ] && echo --yuy2 || true)
    "${wine[@]}" "$build/tools/bench/quorlin_bench.exe" --dll "Z:$build/dist/DLL" --frames $frames \
      --runs "$runs" --only "Spline36 1" $flag |
      awk -v mode=$mode '$2 == "Spline36" && $4 == "->" {
        g = $3 "->" $5
        print $1 " " mode " " g " 1thr|" $6
        print $1 " " mode " " g " 2thr|" $7
        if ($1 == "AVX2" || $1 == "AVX-512") print $1 " " mode " " g " rebuild|" $9
      }' >>"$results"
  done

  for g in "${geometries[@]}"; do
    read -r sw sh dw dh <<<"$g"
    "$build/native/zimg_bench" $sw $sh $dw $dh $frames "$runs" |
      awk '{sub(":", "", $5); print $1 " " $2 " " $3 "->" $5 "|" $6}' >>"$results"
  done
done

# The real plug-in in the test host, AVX-512 (where listed) and AVX2 kernels, one worker thread:
# the title's shortest and
# average frame time (the average includes the first frame's table build). The host's built-in
# clip is 1920x1080; other sources come from FFmpeg's test pattern.
host_kernels=$(grep -q '^AVX-512 ' "$results" && echo "AVX-512 AVX2" || echo AVX2)
for g in "${geometries[@]}"; do
  read -r sw sh dw dh <<<"$g"
  clip=$build/native/clip_${sw}x${sh}.y4m
  if [ "$sw" != 1920 ] && ! [ -f "$clip" ]; then
    ffmpeg -hide_banner -nostdin -loglevel error -f lavfi -i "testsrc2=size=${sw}x${sh}:rate=25" \
      -frames:v 30 -pix_fmt yuv444p -f yuv4mpegpipe -y "$clip"
  fi
  input=$([ "$sw" != 1920 ] && echo "Z:$clip" || true)
  for kernel in $host_kernels; do
    for mode in yc48 yuy2; do
      flag=$([ $mode = yuy2 ] && echo --yuy2 || true)
      times=$(for r in $(seq "$runs"); do
        "${wine[@]}" "$build/tools/host/quorlin_host.exe" --auf "Z:$build/dist/Quorlin.auf" --size ${dw}x${dh} \
          --luma Spline36 --chroma Spline36 --kernel $kernel --threads 1 --frames 30 --save $flag \
          $input 2>&1 |
          sed -n 's/.*frame time (shortest, average): \([0-9.]*\)ms \([0-9.]*\)ms.*/\1 \2/p'
      done)
      record "host $kernel $mode ${sw}x${sh}->${dw}x${dh} 1thr shortest" \
        "$(awk '{print $1}' <<<"$times" | median)"
      record "host $kernel $mode ${sw}x${sh}->${dw}x${dh} 1thr average" \
        "$(awk '{print $2}' <<<"$times" | median)"
    done
  done
done

# FFmpeg: time for N frames with the scaler minus the same pipeline without it.
ffmpeg_ms() {  # format size filter threads
  local src="testsrc2=size=$2:rate=25:duration=1,format=$1,loop=loop=199:size=1:start=0"
  local with without
  with=$(for r in $(seq "$runs"); do
    ffmpeg -hide_banner -nostdin -benchmark -filter_threads "$4" -f lavfi -i "$src" -vf "$3" \
      -frames:v 200 -f null - 2>&1 | sed -n 's/.*rtime=\([0-9.]*\)s.*/\1/p'
  done | median)
  without=$(for r in $(seq "$runs"); do
    ffmpeg -hide_banner -nostdin -benchmark -filter_threads "$4" -f lavfi -i "$src" -vf null \
      -frames:v 200 -f null - 2>&1 | sed -n 's/.*rtime=\([0-9.]*\)s.*/\1/p'
  done | median)
  awk -v a="$with" -v b="$without" 'BEGIN {printf "%.3f", (a - b) * 1000 / 200}'
}
cores=$(nproc)
for g in "${geometries[@]}"; do
  read -r sw sh dw dh <<<"$g"
  for threads in 1 "$cores"; do
    t=$([ "$threads" = 1 ] && echo 1thr || echo "${threads}thr")
    record "swscale yuv444p16 ${sw}x${sh}->${dw}x${dh} $t" \
      "$(ffmpeg_ms yuv444p16le ${sw}x${sh} "scale=$dw:$dh:flags=spline" "$threads")"
    record "swscale yuyv422 ${sw}x${sh}->${dw}x${dh} $t" \
      "$(ffmpeg_ms yuyv422 ${sw}x${sh} "scale=$dw:$dh:flags=spline" "$threads")"
    record "zscale yuv444p16 ${sw}x${sh}->${dw}x${dh} $t" \
      "$(ffmpeg_ms yuv444p16le ${sw}x${sh} "zscale=w=$dw:h=$dh:filter=spline36" "$threads")"
    record "zscale yuv422p ${sw}x${sh}->${dw}x${dh} $t" \
      "$(ffmpeg_ms yuv422p ${sw}x${sh} "zscale=w=$dw:h=$dh:filter=spline36" "$threads")"
  done
done
echo "load after: $(uptime | sed 's/.*load average: //')" >&2

python3 - "$results" <<'PY'
import sys
import statistics
rows = [l.rstrip("\n").split("|") for l in open(sys.argv[1]) if "|" in l]
rounds = {}  # name -> figures, in the order first recorded
for name, v in rows:
    rounds.setdefault(name, [])
    if v not in ("", "nan"):
        rounds[name].append(float(v))
ms = {name: statistics.median(vs) for name, vs in rounds.items() if vs}
print(f"{'case':58} {'ms/frame':>9}  rounds")
for name, vs in rounds.items():
    figure = f"{ms[name]:.3f}" if name in ms else "nan"
    print(f"{name:58} {figure:>9}  {' '.join(f'{v:.3f}' for v in vs)}")
print()
def ratio(label, a, b, target=None):
    if a in ms and b in ms and ms[b] > 0:
        r = ms[a] / ms[b]
        note = "" if target is None else f"  (target {target})"
        print(f"{label:58} {r:8.2f}x{note}")
print("ratios")
for g in ("1920x1080->1280x720", "1280x720->1920x1080"):
    ratio(f"AVX-512 YC48 / zimg-auto yuv444p16, {g}", f"AVX-512 yc48 {g} 1thr", f"zimg-auto yuv444p16 {g}", "<= 0.8")
    ratio(f"AVX-512 YUY2 / zimg-auto yuv422p8, {g}", f"AVX-512 yuy2 {g} 1thr", f"zimg-auto yuv422p8 {g}", "<= 0.8")
    for mode in ("yc48", "yuy2"):
        ratio(f"AVX-512 / AVX2 {mode}, {g}", f"AVX-512 {mode} {g} 1thr", f"AVX2 {mode} {g} 1thr")
        ratio(f"host AVX-512 / zimg-auto, {mode} shortest frame, {g}",
              f"host AVX-512 {mode} {g} 1thr shortest",
              f"zimg-auto {'yuv444p16' if mode == 'yc48' else 'yuv422p8'} {g}", "<= 0.8")
    ratio(f"AVX2 YC48 / zimg-avx2 yuv444p16, {g}", f"AVX2 yc48 {g} 1thr", f"zimg-avx2 yuv444p16 {g}", "<= 0.6")
    ratio(f"AVX2 YUY2 / zimg-avx2 yuv422p8, {g}", f"AVX2 yuy2 {g} 1thr", f"zimg-avx2 yuv422p8 {g}", "<= 0.6")
    ratio(f"AVX2 YC48 / zimg-auto yuv444p16, {g}", f"AVX2 yc48 {g} 1thr", f"zimg-auto yuv444p16 {g}")
    ratio(f"AVX2 YC48 / swscale yuv444p16 1thr, {g}", f"AVX2 yc48 {g} 1thr", f"swscale yuv444p16 {g} 1thr")
    ratio(f"AVX2 YUY2 / swscale yuyv422 1thr, {g}", f"AVX2 yuy2 {g} 1thr", f"swscale yuyv422 {g} 1thr")
    for mode in ("yc48", "yuy2"):
        ratio(f"AVX2 {mode} speed-up 1 -> 2 threads, {g}", f"AVX2 {mode} {g} 1thr", f"AVX2 {mode} {g} 2thr", ">= 1.8")
        ratio(f"SSE2 / AVX2 {mode}, {g}", f"SSE2 {mode} {g} 1thr", f"AVX2 {mode} {g} 1thr", "<= 1.6")
        ratio(f"C++ / AVX2 {mode}, {g}", f"C++ {mode} {g} 1thr", f"AVX2 {mode} {g} 1thr", "<= 4")
PY
