#!/usr/bin/env bash
# The level editor as a level designer uses it: platform mode, the cursor
# moved with the keys, a block placed and dropped, S, Q, and the block in the
# level's map file.
#
#   tests/player/editor_test.sh PROGRAM DATA_FOLDER
source "$(dirname "$0")/player.sh"

start_display 768x672
copy_data
map="$scratch/game/data/levels/level_0.map"
blocks_before=$(count_blocks "$map" 1000 48 32)
start_game -edit
game_window >/dev/null
xdotool mousemove 384 336
# The editor reads every level before its first picture.
sleep 3
shot editor_start

tap 3          # platform mode: the palette starts at the brown block
tap l; tap l; tap l
tap m; tap m   # the cursor at 48, 32 of the first screen
tap k          # a new brown block under the cursor, carried
tap k          # dropped where it is
shot editor_block
expect_different editor_start editor_block "the block and the cursor show in the editor"
tap s
blocks_saved=$(count_blocks "$map" 1000 48 32)
[ "$blocks_saved" = $((blocks_before + 1)) ] ||
  fail "after S the map has $blocks_saved brown blocks at 48, 32 (before: $blocks_before)"
note "ok: S saved the block into the level's map file"

press q
expect_done "$(wait_for_exit)"
blocks_after=$(count_blocks "$map" 1000 48 32)
[ "$blocks_after" = $((blocks_before + 1)) ] ||
  fail "after Q the map has $blocks_after brown blocks at 48, 32 (before: $blocks_before)"
[ ! -e "$map.tmp" ] || fail "the map's temporary file was left behind"
note "ok: the map file holds the block after quitting"
note "passed"
