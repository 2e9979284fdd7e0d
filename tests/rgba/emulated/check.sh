#!/usr/bin/env bash
# Builds avx512_kernel_check natively (with g++ and SIMDe, whatever the processor) into the
# directory given, and runs it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
kernels=$here/../../../kernels
out=${1:-.}
g++ -std=c++17 -O1 -ffp-contract=off -Wall -Wno-psabi -I"$kernels" -o "$out/avx512_kernel_check" \
    "$here/avx512_kernel_check.cpp" "$kernels/portable/RgbaKernel.cpp"
"$out/avx512_kernel_check"
