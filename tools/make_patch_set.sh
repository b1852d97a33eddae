#!/usr/bin/env bash
# Makes the patch set the game's software synthesizer plays the music with:
# the instruments and drums our tunes use, taken from Debian's free patch set
# (package freepats), in 8 bits and compressed, and an allegro.cfg beside it
# that names it, so that the game library finds it when the game starts from
# the same folder.
#
#   tools/make_patch_set.sh OUT_DIR TUNE.mid...
#
# Writes OUT_DIR/patches.cfg (the converted index), OUT_DIR/patches.dat and
# OUT_DIR/allegro.cfg. BLUEJAY_FREEPATS_INDEX names another index to start
# from.
set -euo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 OUT_DIR TUNE.mid..." >&2
  exit 2
fi
out=$(cd "$1" && pwd)
shift
index=${BLUEJAY_FREEPATS_INDEX:-/etc/timidity/freepats.cfg}

python3 "$(dirname "$0")/make_patch_index.py" --source "$index" "$out/patches.cfg"
tunes=()
for tune in "$@"; do
  tunes+=("$(cd "$(dirname "$tune")" && pwd)/$(basename "$tune")")
done
# The grabber reads patch names relative to the folder it finds the index
# in, so it runs there with the index's bare name (ours are absolute). It
# appends to an existing file unless told to overwrite it, and names every
# patch it takes: its talk goes to a log, shown on a failure.
if ! (cd "$out" && pat2dat -8 -c -o patches.new.dat patches.cfg "${tunes[@]}") >"$out/patches.log" 2>&1; then
  cat "$out/patches.log" >&2
  rm -f "$out/patches.new.dat"
  exit 1
fi
mv "$out/patches.new.dat" "$out/patches.dat"
printf '[sound]\npatches = %s\n' "$out/patches.dat" >"$out/allegro.cfg"
