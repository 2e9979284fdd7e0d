#!/usr/bin/env bash
# Draws the pictures of docs/window-functions.md from the built binaries:
# - docs/window-<name>.png: each shipped window function's shape, sampled through
#   WindowFuncs.dll's own records by tools/plot (quorlin_plot) under Wine;
# - docs/method-comparison.png: a crop of a photograph enlarged six times with every method
#   by the real Quorlin.auf in the test host. The photograph is "Chelsea the cat" by Stefan
#   van der Walt (CC0), shipped in Debian's python3-skimage.
# Installs what is missing (as root), like the other scripts.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
bash "$root/scripts/setup.sh" python3 python3-matplotlib python3-pil python3-skimage
CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2} BUILD_DIR="$build" \
  bash "$root/scripts/build.sh" quorlin_dist quorlin_host quorlin_plot

work=$build/docs-pictures
rm -rf "$work" && mkdir -p "$work"
pictures() { /usr/bin/python3 "$root/scripts/docs-pictures.py" "$@"; }
wine_run() { sh "$root/cmake/wine-run.sh" "$@"; }

wine_run "$build/tools/plot/quorlin_plot.exe" --dll "Z:$build/dist/DLL" \
  Spline16 Spline36 Spline64 Lanczos=2,3,4 Blackman=2,3,4 Bicubic=0,50,100 Bilinear \
  Gaussian=25,50,100 Spline100 Spline144 Sinc=2,3,4 Hann=2,3,4 Hamming=2,3,4 Welch=2,3,4 \
  Cosine=2,3,4 Bohman=2,3,4 Hermite Mitchell Robidoux RobidouxSharp > "$work/window-functions.csv"
pictures plot "$work/window-functions.csv" "$root/docs"

# The host runs a copy of the installation without a settings file, so that the pictures show
# the shipped defaults whatever QuorlinEx.ini may have been left in dist.
mkdir -p "$work/install/DLL"
cp "$build/dist/Quorlin.auf" "$work/install/"
cp "$build/dist/DLL/"*.dll "$work/install/DLL/"
photo=/usr/lib/python3/dist-packages/skimage/data/chelsea.png
pictures crop "$photo" 150 86 32 24 "$work/crop.y4m"
results=()
for method in NearestNeighbor AreaAverage Bilinear Bicubic:50 Spline16 Spline36 Spline64 \
              Lanczos:3 Blackman:3 Gaussian:50; do
  name=${method%%:*}
  params=()
  [ "$name" = "$method" ] || params=(--luma-param "${method#*:}" --chroma-param "${method#*:}")
  wine_run "$build/tools/host/quorlin_host.exe" --auf "Z:$work/install/Quorlin.auf" \
    --size 192x144 --luma "$name" --chroma "$name" "${params[@]}" \
    -o "Z:$work/$name.y4m" "Z:$work/crop.y4m" 2>"$work/$name.log" \
    || { cat "$work/$name.log"; exit 1; }
  label=$name
  [ "$name" = "$method" ] || label="$name ${method#*:}"
  results+=("$label=$work/$name.y4m")
done
pictures compose "$root/docs/method-comparison.png" "${results[@]}"
ls -l "$root"/docs/*.png
