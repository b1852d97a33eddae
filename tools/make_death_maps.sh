#!/usr/bin/env bash
# Plays every campaign level with the simple players (build/bluejay_deaths)
# and puts the death maps into a folder as pictures (deaths_N.png) with the
# table deaths.md. Takes a few minutes; not part of the tests.
#
#   tools/make_death_maps.sh [FOLDER] [-- more options of bluejay_deaths]
#
# FOLDER defaults to docs/levels/deaths; the pictures need ImageMagick's
# convert (package imagemagick).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
folder="${1:-$here/docs/levels/deaths}"
[ $# -gt 0 ] && shift
[ "${1:-}" = "--" ] && shift
build="${BUILD:-$here/build}"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
"$build/bluejay_deaths" --out "$scratch" "$@"
mkdir -p "$folder"
for picture in "$scratch"/deaths_*.bmp; do
  convert "$picture" "$folder/$(basename "${picture%.bmp}").png"
done
cp "$scratch/deaths.md" "$folder/deaths.md"
