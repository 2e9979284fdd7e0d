#!/usr/bin/env bash
# effect_host end to end: a PAM image through the real Quorlin.auf2 and back, the item list, and
# the exit statuses for a bad file and a bad command line.
set -euo pipefail
run=$1  # the emulator wrapper
host=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# 2x1: opaque red, transparent green.
printf 'P7\nWIDTH 2\nHEIGHT 1\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n\xff\x00\x00\xff\x00\xff\x00\x00' \
  > "$work/in.pam"
out=$("$run" "$host" --set 'サイズの指定=幅と高さ' --set 幅=6 --set 高さ=3 "$work/in.pam" -o "$work/out.pam")
[ "$out" = "2x1 -> 6x3" ] || fail "resize printed '$out'"
header=$(head -c 200 "$work/out.pam" | sed -n '1,7p' | tr '\n' ' ')
[ "$header" = "P7 WIDTH 6 HEIGHT 3 DEPTH 4 MAXVAL 255 TUPLTYPE RGB_ALPHA ENDHDR " ] || fail "header '$header'"
[ "$(wc -c < "$work/out.pam")" -eq $((65 + 6 * 3 * 4)) ] || fail "output size"  # header + pixels

out=$("$run" "$host" "$work/in.pam" -o "$work/same.pam")
[ "$out" = "2x1 -> 2x1 (passed through)" ] || fail "pass-through printed '$out'"
cmp -s "$work/in.pam" "$work/same.pam" || fail "pass-through changed the image"

list=$("$run" "$host" --list)
[ "$(echo "$list" | head -1)" = "カルメリオ" ] || fail "list: $(echo "$list" | head -1)"
echo "$list" | grep -qx 'select 方式 = Spline36 (.*)' || fail "list has no 方式"

status=0; "$run" "$host" "$work/missing.pam" -o "$work/x.pam" 2>/dev/null || status=$?
[ $status -eq 1 ] || fail "a missing input gave status $status"
status=0; "$run" "$host" --set 方式=NoSuchMethod 2>/dev/null || status=$?
[ $status -eq 1 ] || fail "an unknown choice gave status $status"
status=0; "$run" "$host" "$work/in.pam" 2>/dev/null || status=$?
[ $status -eq 2 ] || fail "an input without -o gave status $status"
echo "effect_host: all checks passed"
