#!/usr/bin/env bash
# Takes the pictures of the game in another language (German by default), as
# a player sees them: the game in its window (twice the canvas) on a virtual
# display, from a copy of the data. Writes FOLDER/<language>_title.png (the
# title), <language>_message.png (level 0's message) and
# <language>_editor_help.png (the editor's help of platform mode) and
# <language>_options.png (the Options menu). Needs what
# the player tests need (Xvfb, xdotool, ImageMagick).
#
#   tools/make_language_shots.sh [FOLDER [LANGUAGE]]
here="$(cd "$(dirname "$0")/.." && pwd)"
folder="$(realpath -m "${1:-$here/docs/screenshots}")"
export LANGUAGE="${2:-de}"
build="${BUILD:-$here/build}"
source "$here/tests/player/player.sh" "$build/bluejay" "$here/data"
mkdir -p "$folder"

start_display 512x448
copy_data

start_game
game_window >/dev/null
wait_for_title 2
sleep 2
shot title
cp "$scratch/title.png" "$folder/${LANGUAGE}_title.png"
# Options, the third entry of a new player's title menu, and back to Start.
press Down
press Down
press Return
sleep 1
shot options
cp "$scratch/options.png" "$folder/${LANGUAGE}_options.png"
press Escape
press Up
press Up
sleep 1
# Level 0's message shows as the game begins.
press Return
sleep 4
shot message
cp "$scratch/message.png" "$folder/${LANGUAGE}_message.png"
press q
wait_for_exit >/dev/null

start_game -edit
game_window >/dev/null
wait_for_editor
tap 3
tap F1
shot editor_help
cp "$scratch/editor_help.png" "$folder/${LANGUAGE}_editor_help.png"
tap F1
press q
wait_for_exit >/dev/null
note "pictures written to $folder"
