#!/usr/bin/env bash
# Configures and builds the two trees: ${BUILD_DIR:-build} for 32 bits (the AviUtl plug-in, its
# libraries, tools and tests) and its x64 folder for 64 bits (the ExEdit2 effect, its engine,
# test host and tests). Builds everything, or only the targets given, each in the tree that has
# it (bash scripts/build.sh quorlin_dist quorlin_resizer quorlin_auf2).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
declare -A toolchain=([$build]=mingw-i686 [$build/x64]=mingw-x86_64)
for tree in "$build" "$build/x64"; do
  if [ ! -f "$tree/build.ninja" ]; then
    cmake -S "$root" -B "$tree" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/${toolchain[$tree]}.cmake" -DCMAKE_BUILD_TYPE=Release
  fi
done
declare -A found=()
for tree in "$build" "$build/x64"; do
  if [ $# -eq 0 ]; then
    cmake --build "$tree"
    continue
  fi
  ninja -C "$tree" build.ninja >/dev/null  # regenerated first when a CMakeLists.txt changed
  targets=()
  for target in "$@"; do
    if ninja -C "$tree" -t query "$target" >/dev/null 2>&1; then
      targets+=("$target")
      found[$target]=1
    fi
  done
  [ ${#targets[@]} -eq 0 ] || cmake --build "$tree" --target "${targets[@]}"
done
for target in "$@"; do
  [ -n "${found[$target]:-}" ] || { echo "build: no target $target in either tree" >&2; exit 1; }
done
