#!/usr/bin/env bash
# quorlin_resizer.exe run as a user runs it, on small Y4M files: the exit status and message of each
# kind of mistake, the output header, and that no run loses a file.
#   command_line_test.sh WINE_RUN QUORLIN_RESIZER_EXE AUF VERSION
set -u
wine_run=$1 resizer=$2 auf=$3 version=$4
work=$(mktemp -d "${TMPDIR:-/tmp}/quorlin-cli-test.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
export LC_ALL=C.UTF-8
failures=0

# A Y4M file of one grey frame: header tags, width, height, bytes per frame.
clip() {
  { printf 'YUV4MPEG2 W%s H%s F25:1 Ip %s\nFRAME\n' "$3" "$4" "$2"
    head -c "$5" /dev/zero | tr '\0' '\200'; } >"$1"
}
clip in.y4m "A10:11 C420jpeg" 32 16 768
clip deep.y4m "C420p10" 32 16 1536

# run STATUS FRAGMENT ARGS...: the run ends with STATUS and its standard error holds FRAGMENT.
run() {
  local expected=$1 fragment=$2
  shift 2
  sh "$wine_run" "$resizer" --auf "$auf" </dev/null "$@" >out.txt 2>err.txt
  local status=$?
  if [ "$status" != "$expected" ] || grep -q $'\r' err.txt ||
     { [ -n "$fragment" ] && ! grep -qF -- "$fragment" err.txt; }; then
    echo "FAILED: $* -> status $status (want $expected, \"$fragment\", LF only):"
    cat err.txt
    failures=$((failures + 1))
  fi
}
# same FILE COPY: FILE holds exactly the bytes of COPY.
same() {
  cmp -s "$1" "$2" || { echo "FAILED: $1 changed"; failures=$((failures + 1)); }
}
header() {  # FILE EXPECTED-HEADER
  [ "$(head -n 1 "$1")" = "$2" ] ||
    { echo "FAILED: $1 header $(head -n 1 "$1"), want $2"; failures=$((failures + 1)); }
}

cp in.y4m original.y4m
# Command-line mistakes: status 2.
run 2 "larger than the maximum image size" --max 16x16 in.y4m
run 2 "even target width, not 31: give an even width, or --size -2x16" --yuy2 --size 31x16 in.y4m
run 2 "Lanczos's range" --luma Lanczos --luma-param 2.5 in.y4m
run 2 "give one of them" -y -n in.y4m -o out.y4m
run 2 "--pix-fmt takes" --pix-fmt yuv411p in.y4m
run 2 "is the input file" --size 16x8 in.y4m -o in.y4m -y
ln in.y4m link.y4m
run 2 "is the input file" --size 16x8 in.y4m -o link.y4m -y
same in.y4m original.y4m
# Other failures: status 1, with the reason and the way out.
run 1 "cannot open missing.y4m: " missing.y4m
run 1 "ffmpeg -i INPUT -pix_fmt yuv420p" deep.y4m
# Outputs: written whole, never over a file without -y, the aspect and chroma as asked.
run 0 "" --quiet --size 16x16 in.y4m -o out.y4m
[ -s err.txt ] && { echo "FAILED: --quiet printed $(cat err.txt)"; failures=$((failures + 1)); }
header out.y4m "YUV4MPEG2 W16 H16 F25:1 Ip A20:11 C444"
cp out.y4m first.y4m
run 2 "exists; -y overwrites it" --size 16x-2 in.y4m -o out.y4m
same out.y4m first.y4m
run 0 "" --quiet --size 16x-2 --pix-fmt yuv420p -y in.y4m -o out.y4m
header out.y4m "YUV4MPEG2 W16 H8 F25:1 Ip A10:11 C420jpeg"
run 0 "" --quiet --size 16x-2 in.y4m -o テスト😀.y4m
header テスト😀.y4m "YUV4MPEG2 W16 H8 F25:1 Ip A10:11 C444"
[ "$(ls | grep -c part)" = 0 ] || { echo "FAILED: temporary files left"; failures=$((failures + 1)); }
# Without --auf, the plug-in of the build tree the program belongs to.
sh "$wine_run" "$resizer" --quiet --size 16x16 in.y4m -o default.y4m </dev/null 2>err.txt ||
  { echo "FAILED: no --auf: $(cat err.txt)"; failures=$((failures + 1)); }
same default.y4m first.y4m
# A cut input: its complete frames are written, with one warning that names the cut frame.
tail -c +$(($(head -n 1 in.y4m | wc -c) + 1)) in.y4m >frame.bin
{ head -n 1 in.y4m; cat frame.bin frame.bin; head -c 400 frame.bin; } >cut.y4m
run 0 "warning: the input ends inside frame 3; the 2 complete frames" \
  --size 16x16 cut.y4m -o cut-out.y4m
frames=$(grep -a -o FRAME cut-out.y4m | wc -l)
[ "$frames" = 2 ] ||
  { echo "FAILED: cut input wrote $frames frames, want 2"; failures=$((failures + 1)); }
# Without -o the frames are only resized: said unless --quiet.
run 0 "the frames were resized and discarded: give -o FILE or -o - to keep them" --size 16x16 in.y4m
run 0 "" --quiet --size 16x16 in.y4m
[ -s err.txt ] &&
  { echo "FAILED: --quiet without -o printed $(cat err.txt)"; failures=$((failures + 1)); }

# Stopped runs: Ctrl-C (SIGINT to the process group) ends with 130 and says where it stopped;
# a run killed outright leaves nothing either. The output that was there stays as it was.
for signal in INT TERM KILL; do
  echo old >stopped.y4m
  ( set -m
    sh "$wine_run" "$resizer" --auf "$auf" --frames 100000 --size 640x360 -y -o stopped.y4m \
      </dev/null 2>err.txt &
    runner=$!
    for _ in $(seq 300); do grep -q "^settings:" err.txt && break; sleep 0.1; done
    sleep 0.5
    kill -"$signal" -- -"$runner"
    wait "$runner"
    echo $? >status.txt ) 2>/dev/null  # not the shell's notes on its job
  status=$(cat status.txt)
  for _ in $(seq 50); do ls | grep -q part || break; sleep 0.1; done
  said="^quorlin_resizer: interrupted, stopped at frame [0-9]+; the output file was not written$"
  if [ "$signal" = INT ] && { [ "$status" != 130 ] || ! grep -qE "$said" err.txt; }; then
    echo "FAILED: Ctrl-C -> status $status:"; cat err.txt; failures=$((failures + 1))
  fi
  [ "$status" != 0 ] || { echo "FAILED: SIG$signal -> status 0"; failures=$((failures + 1)); }
  [ "$(cat stopped.y4m)" = old ] ||
    { echo "FAILED: SIG$signal changed the output"; failures=$((failures + 1)); }
  ! ls | grep part || { echo "FAILED: SIG$signal left a part file"; failures=$((failures + 1)); }
done

# The version, defined once in the build.
run 0 "" --version
[ "$(cat out.txt)" = "quorlin_resizer $version" ] ||
  { echo "FAILED: --version printed $(cat out.txt)"; failures=$((failures + 1)); }

echo "$failures failures"
[ "$failures" = 0 ]
