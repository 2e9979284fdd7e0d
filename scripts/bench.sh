#!/usr/bin/env bash
# Benchmarks Quorlin's kernels against zimg and FFmpeg on this machine, in one run, and prints
# medians in milliseconds per frame and the ratios that matter:
#   - quorlin_bench: the engine with each kernel library, YC48 and YUY2, Spline36, 1 and 2
#     threads, 1920x1080 <-> 1280x720, each half of those combined passes alone (vertical
#     1080 -> 720 lines, then horizontal 1920 -> 1280 columns; vertical 720 -> 1080, then
#     horizontal 1280 -> 1920), and the table rebuild time;
#   - quorlin_resizer --save: the real Quorlin.auf in the resizer on one and two worker threads,
#     the plug-in's own frame timing;
#   - zimg (tools/bench/zimg, native): three 16-bit planes and 8-bit 4:2:2, one thread, with
#     its AVX2 code and with its best code (AVX-512 where the processor has it), for the same
#     geometries and halves;
#   - the floors (tools/bench/floors, native): the memory floor and the arithmetic floor of each
#     kernel's one-thread figure, from this machine's bandwidth and multiply-add rate;
#   - ffmpeg's swscale (spline) and zscale (spline36), one filter thread and all cores.
# Installs g++, libzimg-dev and ffmpeg when missing (only this script uses them).
#
# The machine may be shared, and its speed drifts over minutes. So the engine and zimg, whose
# ratios are the targets, are measured in alternating rounds. A round's figure for each is its
# fastest frame (the one least disturbed by other work) over `runs` runs of 40 frames, and each
# figure below is the median over the rounds.
#
#   scripts/bench.sh [runs] [rounds]   (BUILD_DIR as for scripts/build.sh; defaults 5 and 3)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
runs=${1:-5}
rounds=${2:-3}
frames=40
wine=("sh" "$root/cmake/wine-run.sh")

bash "$root/scripts/setup.sh" g++ libzimg-dev ffmpeg
CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2} BUILD_DIR="$build" bash "$root/scripts/build.sh" >/dev/null
mkdir -p "$build/native"
g++ -O2 -std=c++17 -o "$build/native/zimg_bench" "$root/tools/bench/zimg/zimg_bench.cpp" -lzimg
g++ -O2 -std=c++17 -o "$build/native/floors" "$root/tools/bench/floors/floors.cpp"

results=$(mktemp)
trap 'rm -f "$results"' EXIT
record() { echo "$1|$2" >>"$results"; }  # name|milliseconds
median() { sort -g | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

echo "load before: $(uptime | sed 's/.*load average: //')" >&2
geometries=("1920 1080 1280 720" "1280 720 1920 1080")
# The two halves of each combined pass, vertical then horizontal, as single-axis resizes.
halves=("1920 1080 1920 720" "1920 720 1280 720" "1280 720 1280 1080" "1280 1080 1920 1080")

for g in "${geometries[@]}"; do
  "$build/native/floors" $g >>"$results"
done

# Our kernels through the engine, and zimg, one thread, in alternating rounds.
for round in $(seq "$rounds"); do
  for mode in yc48 yuy2; do
    flag=$([ $mode = yuy2 ] && echo --yuy2 || true)
    "${wine[@]}" "$build/tools/bench/quorlin_bench.exe" --dll "Z:$build/dist/DLL" --frames $frames \
      --runs "$runs" --only "Spline36" $flag |
      awk -v mode=$mode '$2 == "Spline36" && $4 == "->" {
        g = $3 "->" $5
        print $1 " " mode " " g " 1thr|" $10
        print $1 " " mode " " g " 2thr|" $11
        if ($1 == "AVX2" || $1 == "AVX-512") print $1 " " mode " " g " rebuild|" $9
      }' >>"$results"
  done

  for g in "${geometries[@]}" "${halves[@]}"; do
    read -r sw sh dw dh <<<"$g"
    "$build/native/zimg_bench" $sw $sh $dw $dh $frames "$runs" |
      awk '{sub(":", "", $5); print $1 " " $2 " " $3 "->" $5 "|" $10}' >>"$results"
  done
done

# The real plug-in in the resizer, AVX-512 (where listed) and AVX2 kernels, one and two worker
# threads: the title's shortest and average frame time (the average includes the first frame's
# table build). The host's built-in clip is 1920x1080; other sources come from FFmpeg's test
# pattern.
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
      for threads in 1 2; do
        times=$(for r in $(seq "$runs"); do
          "${wine[@]}" "$build/tools/resizer/quorlin_resizer.exe" \
            --auf "Z:$build/dist/Quorlin.auf" --size ${dw}x${dh} --luma Spline36 --chroma Spline36 --kernel $kernel \
            --threads $threads --frames 30 --save $flag $input 2>&1 |
            sed -n 's/.*frame time (shortest, average): \([0-9.]*\)ms \([0-9.]*\)ms.*/\1 \2/p'
        done)
        record "host $kernel $mode ${sw}x${sh}->${dw}x${dh} ${threads}thr shortest" \
          "$(awk '{print $1}' <<<"$times" | median)"
        record "host $kernel $mode ${sw}x${sh}->${dw}x${dh} ${threads}thr average" \
          "$(awk '{print $2}' <<<"$times" | median)"
      done
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
shrink, enlarge = "1920x1080->1280x720", "1280x720->1920x1080"
halves = {shrink: ("1920x1080->1920x720", "1920x720->1280x720"),
          enlarge: ("1280x720->1280x1080", "1280x1080->1920x1080")}
zimg_format = {"yc48": "yuv444p16", "yuy2": "yuv422p8"}
for g, target in ((shrink, "0.70"), (enlarge, "0.80")):
    for mode in ("yc48", "yuy2"):
        z = zimg_format[mode]
        ratio(f"AVX2 {mode} / zimg-avx2 {z}, {g}", f"AVX2 {mode} {g} 1thr", f"zimg-avx2 {z} {g}", f"<= {target}")
        ratio(f"AVX-512 {mode} / zimg-auto {z}, {g}", f"AVX-512 {mode} {g} 1thr", f"zimg-auto {z} {g}", f"<= {target}")
        ratio(f"AVX-512 / AVX2 {mode}, {g}", f"AVX-512 {mode} {g} 1thr", f"AVX2 {mode} {g} 1thr", "<= 1")
        for half, part in zip(halves[g], ("vertical", "horizontal")):
            ratio(f"  {part} half {half}: AVX2 / zimg-avx2 {mode}", f"AVX2 {mode} {half} 1thr", f"zimg-avx2 {z} {half}")
            ratio(f"  {part} half {half}: AVX-512 / zimg-auto {mode}", f"AVX-512 {mode} {half} 1thr", f"zimg-auto {z} {half}")
        for kernel in ("AVX-512", "AVX2"):
            ratio(f"{kernel} {mode} speed-up 1 -> 2 threads, {g}", f"{kernel} {mode} {g} 1thr", f"{kernel} {mode} {g} 2thr", ">= 1.85")
            ratio(f"host {kernel} {mode} speed-up 1 -> 2 threads (shortest frame), {g}",
                  f"host {kernel} {mode} {g} 1thr shortest", f"host {kernel} {mode} {g} 2thr shortest", ">= 1.85")
        ratio(f"AVX2 {mode} / swscale 1thr, {g}", f"AVX2 {mode} {g} 1thr", f"swscale {'yuv444p16' if mode == 'yc48' else 'yuyv422'} {g} 1thr")
        ratio(f"SSE2 / AVX2 {mode}, {g}", f"SSE2 {mode} {g} 1thr", f"AVX2 {mode} {g} 1thr")
        ratio(f"C++ / AVX2 {mode}, {g}", f"C++ {mode} {g} 1thr", f"AVX2 {mode} {g} 1thr")
print()
print("floors, one thread (ms per frame): the kernel's figure, its memory floor (frame bytes over this")
print("machine's one-thread bandwidth), its arithmetic floor (multiply-adds over the peak rate of its")
print("multiply-add instruction), and the figure over the larger floor")
print(f"{'kernel, format, geometry':44} {'figure':>7} {'memory':>7} {'arith.':>7} {'ratio':>6}")
for g in (shrink, enlarge):
    for mode in ("yc48", "yuy2"):
        for kernel in ("AVX-512", "AVX2", "SSE2"):
            figure, memory = ms.get(f"{kernel} {mode} {g} 1thr"), ms.get(f"memory {mode} {g}")
            arithmetic = ms.get(f"arithmetic {kernel} {mode} {g}")
            if figure and memory and arithmetic:
                print(f"{kernel + ' ' + mode + ' ' + g:44} {figure:7.3f} {memory:7.3f} {arithmetic:7.3f} "
                      f"{figure / max(memory, arithmetic):5.2f}x")
PY
