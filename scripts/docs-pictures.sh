#!/usr/bin/env bash
# Draws the pictures of docs/window-functions.md from the built binaries:
# - docs/window-<name>.png: each shipped window function's shape, sampled through
#   WindowFuncs.dll's own records by tools/plot (quorlin_plot) under Wine;
# - docs/method-comparison.png: a crop of a photograph enlarged six times with every method
#   by the real Quorlin.auf in the resizer. The photograph is "Chelsea the cat" by Stefan
#   van der Walt (CC0), shipped in Debian's python3-skimage.
# - docs/shrink-comparison.png: a detailed part of the resizer's built-in clip shrunk to a
#   third with each method, the same way, with the ringing of the sharpest methods enlarged.
# Installs what is missing (as root), like the other scripts.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
bash "$root/scripts/setup.sh" python3 python3-matplotlib python3-pil python3-skimage
CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2} BUILD_DIR="$build" \
  bash "$root/scripts/build.sh" quorlin_dist quorlin_resizer quorlin_plot

work=$build/docs-pictures
rm -rf "$work" && mkdir -p "$work"
pictures() { /usr/bin/python3 "$root/scripts/docs-pictures.py" "$@"; }
wine_run() { sh "$root/cmake/wine-run.sh" "$@"; }

wine_run "$build/tools/plot/quorlin_plot.exe" --dll "Z:$build/dist/DLL" \
  Spline16 Spline36 Spline64 Lanczos=2,3,4 Blackman=2,3,4 Bicubic=0,50,100 Bilinear \
  Gaussian=25,50,100 > "$work/window-functions.csv"
pictures plot "$work/window-functions.csv" "$root/docs"

# The host runs a copy of the installation without a settings file, so that the pictures show
# the shipped defaults whatever QuorlinEx.ini may have been left in dist.
mkdir -p "$work/install/DLL"
cp "$build/dist/Quorlin.auf" "$work/install/"
cp "$build/dist/DLL/"*.dll "$work/install/DLL/"
# Resizes INPUT.y4m to SIZE once per method (NAME, or NAME:PARAM for a parameter) with the real
# Quorlin.auf, luma and chroma alike, and puts the results side by side, captioned, in PICTURE;
# `--zoom X,Y,W,H,FACTOR,LABEL...` before the methods adds the enlarged part that
# docs-pictures.py describes.
compare_methods() {
  local picture=$1 input=$2 size=$3
  shift 3
  local zoom=()
  if [ "$1" = --zoom ]; then
    zoom=(--zoom "$2")
    shift 2
  fi
  local results=() method name label params result
  for method in "$@"; do
    name=${method%%:*}
    label=${method/:/ }
    params=()
    [ "$name" = "$method" ] || params=(--luma-param "${method#*:}" --chroma-param "${method#*:}")
    result=$work/${method/:/-}-$size.y4m
    wine_run "$build/tools/resizer/quorlin_resizer.exe" --auf "Z:$work/install/Quorlin.auf" \
      --size "$size" --luma "$name" --chroma "$name" "${params[@]}" \
      -o "Z:$result" "Z:$input" 2>"$result.log" \
      || { cat "$result.log"; exit 1; }
    results+=("$label=$result")
  done
  pictures compose "$picture" "${zoom[@]}" "${results[@]}"
}

# Enlarging: a 32x24 crop of a photograph, six times.
photo=/usr/lib/python3/dist-packages/skimage/data/chelsea.png
pictures crop "$photo" 150 86 32 24 "$work/crop.y4m"
compare_methods "$root/docs/method-comparison.png" "$work/crop.y4m" 192x144 \
  NearestNeighbor AreaAverage Bilinear Bicubic:50 Spline16 Spline36 Spline64 Lanczos:3 \
  Blackman:3 Mitchell Gaussian:50

# Shrinking: a part of the resizer's built-in clip (its first frame, which the plug-in passes
# unchanged at the clip's own size) with the zone plate's centre and outer rings beside sharp
# edges, one-pixel lines and a checkerboard, to a third. Too little filtering shows as false
# rings (aliasing), too sharp a filter as light and dark lines beside edges (ringing).
wine_run "$build/tools/resizer/quorlin_resizer.exe" --auf "Z:$work/install/Quorlin.auf" \
  --frames 1 --size 1920x1080 --quiet -o "Z:$work/clip.y4m"
/usr/bin/python3 "$root/scripts/frame-to-png.py" "$work/clip.y4m" "$work/clip.png"
pictures crop "$work/clip.png" 330 0 900 450 "$work/detail.y4m"
# The ringing shows only close up: the checkerboard's top left corner is enlarged six times for
# the sharpest methods, the default and the one recommended against halos.
compare_methods "$root/docs/shrink-comparison.png" "$work/detail.y4m" 300x150 \
  --zoom "202,54,40,30,6,Lanczos 8,Sinc 8,Spline36,Mitchell" \
  NearestNeighbor AreaAverage Bilinear Gaussian:50 Mitchell Robidoux Bicubic:50 Spline36 \
  Lanczos:3 Lanczos:8 Sinc:8
ls -l "$root"/docs/*.png
