#!/usr/bin/env bash
# Builds the release package ${BUILD_DIR:-build}/Quorlin-<version>.zip, laid out as users of the
# editor receive plug-ins: Quorlin.auf, the DLL folder with the libraries it loads, the Japanese
# guide Quorlin.txt and LICENSE, all at the zip's root. Also builds the ExEdit2 package
# Quorlin-<version>.au2pkg.zip, which that editor installs when it is dropped on its preview:
# Plugin/Quorlin/Quorlin.auf2 with package.ini and package.txt (UTF-8, CR LF) at its root. The guide is kept in the repository as
# UTF-8 (docs/guide-ja.txt) and shipped in code page 932 with CR LF line ends, as Japanese
# Windows tools read it; CP932 rather than SHIFT_JIS, which lacks characters such as U+FF5E.
# Installs zip when missing (as root), like the other scripts.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
bash "$root/scripts/setup.sh" zip
CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2} BUILD_DIR="$build" \
  bash "$root/scripts/build.sh" quorlin_dist quorlin_auf2

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "package: no project version in $build/CMakeCache.txt" >&2; exit 1; }
stage=$build/package
rm -rf "$stage" && mkdir -p "$stage/DLL"
cp "$build/dist/Quorlin.auf" "$root/LICENSE" "$stage/"
cp "$build/dist/DLL/"*.dll "$stage/DLL/"
sed "s/@VERSION@/$version/g" "$root/docs/guide-ja.txt" | iconv -f UTF-8 -t CP932 \
  | sed 's/$/\r/' > "$stage/Quorlin.txt"

zip=$build/Quorlin-$version.zip
rm -f "$zip"
(cd "$stage" && zip -q -X -r "$zip" Quorlin.auf DLL Quorlin.txt LICENSE)
echo "package: $zip"

# The ExEdit2 package, from the 64-bit tree.
au2stage=$build/package-au2
rm -rf "$au2stage" && mkdir -p "$au2stage/Plugin/Quorlin"
cp "$build/x64/dist/Quorlin.auf2" "$au2stage/Plugin/Quorlin/"
for file in package.ini package.txt; do
  sed "s/@VERSION@/$version/g; s/\$/\r/" "$root/docs/au2pkg/$file" > "$au2stage/$file"
done
au2zip=$build/Quorlin-$version.au2pkg.zip
rm -f "$au2zip"
(cd "$au2stage" && zip -q -X -r "$au2zip" Plugin package.ini package.txt)
echo "package: $au2zip"
