#!/usr/bin/env bash
# Measures how close YUY2 resizes of photographs come to the exact result (tests/quality,
# quality_photo): interior PSNR of luma and chroma against a double-precision resampler of the
# same 8-bit source, beside that of the exact result rounded to 8 bits, per kernel.
#
# The photographs are scikit-image's samples shipped in Debian's python3-skimage: "Chelsea the
# cat" and "coffee" (CC0) and "astronaut" (public domain). Each is converted to an 8-bit 4:2:2
# Y4M frame (full-range BT.601 Y'CbCr, each chroma pair the mean of its two pixels).
# Debian's own Python runs the conversion: the packages are installed for it.
#
#   scripts/photo-quality.sh   (BUILD_DIR as for scripts/build.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
photos=/usr/lib/python3/dist-packages/skimage/data

bash "$root/scripts/setup.sh" python3-skimage python3-pil
CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2} BUILD_DIR="$build" \
  bash "$root/scripts/build.sh" >/dev/null
cmake --build "$build" --target quality_photo >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
pictures=()
for name in chelsea coffee astronaut; do
  /usr/bin/python3 - "$photos/$name.png" "$work/$name.y4m" <<'PY'
import sys
from PIL import Image

picture = Image.open(sys.argv[1]).convert("RGB")
width, height = picture.size[0] // 2 * 2, picture.size[1]
y, cb, cr = (bytes(plane.getdata()) for plane in picture.crop((0, 0, width, height)).convert("YCbCr").split())

def pair_means(plane):
    return bytes((plane[i] + plane[i + 1] + 1) // 2 for i in range(0, len(plane), 2))

with open(sys.argv[2], "wb") as out:
    out.write(b"YUV4MPEG2 W%d H%d F25:1 Ip A1:1 C422\nFRAME\n" % (width, height))
    out.write(y + pair_means(cb) + pair_means(cr))
PY
  pictures+=("$work/$name.y4m")
done
sh "$root/cmake/wine-run.sh" "$build/tests/quality/quality_photo.exe" "${pictures[@]}"
