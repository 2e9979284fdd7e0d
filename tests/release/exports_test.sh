#!/usr/bin/env bash
# Checks that every shipped library exports exactly its interface (no test or diagnostic entry
# reaches a user's machine), and that the AVX-512 library takes nothing from the AVX2 library's
# folder: what both need lives in kernels/simd.
#   exports_test.sh SOURCE_DIR DIST_DIR
set -euo pipefail
root=$1 dist=$2
failed=0
fail() { echo "exports_test: $*" >&2; failed=1; }

exports_of() {
  i686-w64-mingw32-objdump -p "$1" |
    awk '/^\[Ordinal\/Name Pointer\] Table/ {on = 1; next} on && NF == 0 {on = 0} on {print $NF}' |
    LC_ALL=C sort | tr '\n' ' '
}

kernel="GetFilterPluginInfo2 GetYUY2FilterPluginInfo2 "
declare -A expected=(
  [Quorlin.auf]="GetFilterTable GetFilterTableYUY2 "
  [DLL/WindowFuncs.dll]="GetWindowFuncPluginInfo "
  [DLL/Kernel0_AVX512.dll]=$kernel
  [DLL/Kernel1_AVX2.dll]=$kernel
  [DLL/Kernel2_SSE2.dll]=$kernel
  [DLL/Kernel9_Portable.dll]=$kernel
)
for file in "${!expected[@]}"; do
  [ -f "$dist/$file" ] || { fail "$file is not in $dist"; continue; }
  got=$(exports_of "$dist/$file")
  [ "$got" = "${expected[$file]}" ] || fail "$file exports '$got' instead of '${expected[$file]}'"
done

if grep -rn '#include "avx2/' "$root/kernels/avx512"; then
  fail "the AVX-512 library includes from kernels/avx2"
fi
[ "$failed" = 0 ] && echo "exports_test: ${#expected[@]} libraries export exactly their interface"
exit "$failed"
