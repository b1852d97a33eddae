#!/usr/bin/env bash
# Pictures of the bottom of every background with a gap in the ground: one
# screen with ground left and right of a pit two tiles wide and the hero
# standing before it, played one tick by the headless runner on a copy of the
# data. Writes FOLDER/gap_NAME_SUFFIX.png (default docs/screenshots and
# "after"), doubled in size.
#
#   tools/make_gap_shots.sh [FOLDER] [SUFFIX]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
folder="${1:-$here/docs/screenshots}"
suffix="${2:-after}"
build="${BUILD:-$here/build}"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cp -r "$here/data" "$scratch/data"
mkdir -p "$folder"
names=(grass cloudy forest dark underworld hilly black)
for background in "${!names[@]}"; do
  {
    printf '%s\n' "$background" 0 2 48 168 -1
    for x in 0 32 64 160 192 224; do printf '1005\n%s\n192\n' "$x"; done
    printf '%s\n' -1
    for _ in $(seq 50); do echo 0; done
  } > "$scratch/data/levels/level_0.map"
  (cd "$scratch" && "$build/bluejay_run" --level 0 --ticks 2 --shot "2:$scratch/shot.bmp" > /dev/null)
  convert "$scratch/shot.bmp" -scale 200% "$folder/gap_${names[$background]}_$suffix.png"
done
