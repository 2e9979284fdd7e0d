#!/usr/bin/env bash
# Builds the release packages and checks what a user unpacks: exactly the expected files at the
# zip's root, the plug-in files as built, and a guide in code page 932 with CR LF line ends
# that reads back as the repository's UTF-8 text; and the ExEdit2 package's layout, its
# Quorlin.auf2 as built and its package.ini and package.txt naming the version.
#   package_test.sh SOURCE_DIR BUILD_DIR VERSION
set -euo pipefail
root=$1 build=$2 version=$3
fail() { echo "package_test: $*" >&2; exit 1; }

bash "$root/scripts/setup.sh" unzip >/dev/null
BUILD_DIR="$build" bash "$root/scripts/package.sh" >/dev/null
zip=$build/Quorlin-$version.zip
[ -f "$zip" ] || fail "no $zip"

expected="DLL/
DLL/Kernel0_AVX512.dll
DLL/Kernel1_AVX2.dll
DLL/Kernel2_SSE2.dll
DLL/Kernel9_Portable.dll
DLL/WindowFuncs.dll
LICENSE
Quorlin.auf
Quorlin.txt"
listed=$(unzip -Z1 "$zip" | LC_ALL=C sort)
[ "$listed" = "$expected" ] || fail "the zip holds:
$listed
instead of:
$expected"

for file in Quorlin.auf DLL/WindowFuncs.dll DLL/Kernel9_Portable.dll; do
  unzip -p "$zip" "$file" | cmp -s - "$build/dist/$file" || fail "$file differs from the build's"
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unzip -p "$zip" Quorlin.txt > "$work/guide"
lines=$(wc -l < "$work/guide")
[ "$lines" -gt 0 ] || fail "the guide is empty"
[ "$(grep -c $'\r$' "$work/guide")" = "$lines" ] || fail "a guide line does not end in CR LF"
[ -z "$(tail -c 1 "$work/guide" | tr -d '\n')" ] || fail "the guide's last line has no line end"
tr -d '\r' < "$work/guide" | iconv -f CP932 -t UTF-8 > "$work/decoded" \
  || fail "the guide is not code page 932"
sed "s/@VERSION@/$version/g" "$root/docs/guide-ja.txt" > "$work/source"
cmp -s "$work/decoded" "$work/source" || {
  diff "$work/source" "$work/decoded" >&2 || true
  fail "the guide does not read back as docs/guide-ja.txt (characters CP932 cannot keep?)"
}
grep -q "$version" "$work/source" || fail "the guide does not name version $version"

au2zip=$build/Quorlin-$version.au2pkg.zip
[ -f "$au2zip" ] || fail "no $au2zip"
au2expected="Plugin/
Plugin/Quorlin/
Plugin/Quorlin/Quorlin.auf2
package.ini
package.txt"
au2listed=$(unzip -Z1 "$au2zip" | LC_ALL=C sort)
[ "$au2listed" = "$au2expected" ] || fail "the ExEdit2 package holds:
$au2listed
instead of:
$au2expected"
unzip -p "$au2zip" Plugin/Quorlin/Quorlin.auf2 | cmp -s - "$build/x64/dist/Quorlin.auf2" \
  || fail "Quorlin.auf2 differs from the build's"
unzip -p "$au2zip" package.ini | tr -d '\r' > "$work/package.ini"
for key in '\[package\]' 'id=Quorlin' 'name=.*Quorlin' "information=.*version $version"; do
  grep -qx "$key.*" "$work/package.ini" || fail "package.ini has no line $key"
done
unzip -p "$au2zip" package.txt | tr -d '\r' > "$work/package.txt"
iconv -f UTF-8 -t UTF-8 "$work/package.txt" >/dev/null || fail "package.txt is not UTF-8"
grep -q "カルメリオ.*$version" "$work/package.txt" || fail "package.txt does not name version $version"

echo "package_test: $zip holds $(echo "$listed" | wc -l) entries and a CP932 guide of $lines lines;" \
  "$au2zip holds Quorlin.auf2, package.ini and package.txt"
