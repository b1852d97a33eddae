#!/usr/bin/env bash
# Takes the README's pictures again, as a player sees them: the game in its
# window (twice the canvas, 512 x 448) on a virtual display, started by a new
# player (no progress, so the title shows no "continue" or best score), from
# a copy of the data. Writes FOLDER/title.png (the title over the demo),
# editor_platform.png and editor_screen.png (level 0 in the editor's platform
# and screen modes), and the menus: menu_title.png, menu_levels.png,
# menu_options.png, menu_controls.png and menu_pause.png, as the menus' player
# test takes them. Needs what the player tests need (Xvfb, xdotool,
# ImageMagick).
#
#   tools/make_readme_shots.sh [FOLDER]
here="$(cd "$(dirname "$0")/.." && pwd)"
folder="$(realpath -m "${1:-$here/docs/screenshots}")"
build="${BUILD:-$here/build}"
source "$here/tests/player/player.sh" "$build/bluejay" "$here/data"
mkdir -p "$folder"

start_display 512x448
copy_data

# The title: the demo has played a few seconds under it.
start_game
game_window >/dev/null
wait_for_title 2
sleep 4
shot title
cp "$scratch/title.png" "$folder/title.png"
press q
wait_for_exit >/dev/null

# The editor on level 0: the cursor moved onto the step before the first
# pit, then the screen mode.
start_game -edit
game_window >/dev/null
wait_for_editor
tap 3
for _ in 1 2 3 4 5 6 7 8 9 10 11 12 13 14; do tap l; done
for _ in 1 2 3 4 5 6 7 8; do tap m; done
shot editor_platform
cp "$scratch/editor_platform.png" "$folder/editor_platform.png"
tap 1
shot editor_screen
cp "$scratch/editor_screen.png" "$folder/editor_screen.png"
press q
wait_for_exit >/dev/null
# The menus: their player test keeps its pictures.
keep="$scratch/menus"
BLUEJAY_PLAYER_KEEP="$keep" bash "$here/tests/player/menus_test.sh" "$build/bluejay" "$here/data" >/dev/null
for name in menu_title menu_levels menu_options menu_controls menu_pause; do
  cp "$keep/$name.png" "$folder/$name.png"
done
note "pictures written to $folder"
