#!/usr/bin/env bash
# The editor's tools as an author uses them: a block placed, Ctrl+Z and S
# (the block is not in the saved map), Ctrl+Y and S (it is); T tries the
# level on the screen, where Right with Up moves the hero, and Esc comes back
# with the map untouched; a click of the mouse places a block at the clicked
# cell; F1 shows the help.
#
#   tests/player/editor_tools_test.sh PROGRAM DATA_FOLDER
source "$(dirname "$0")/player.sh"

# click: the left button held as a player holds it, longer than a tick.
click() {
  xdotool mousedown 1
  sleep 0.1
  xdotool mouseup 1
  sleep 0.3
}

# with_key MODIFIER KEY: KEY pressed while MODIFIER is held.
with_key() {
  xdotool keydown "$1"
  sleep 0.05
  press "$2"
  xdotool keyup "$1"
  sleep 0.35
}

start_display 768x672
copy_data
map="$scratch/game/data/levels/level_0.map"
blocks_before=$(count_blocks "$map" 1000 48 32)
start_game -edit
game_window >/dev/null
# The editor reads every level before its first picture.
sleep 3

tap 3          # platform mode
tap l; tap l; tap l
tap m; tap m   # the cursor at 48, 32
tap k; tap k   # a brown block placed and dropped
with_key Control_L z
tap s
blocks=$(count_blocks "$map" 1000 48 32)
[ "$blocks" = "$blocks_before" ] || fail "after Ctrl+Z and S the map has $blocks blocks at 48, 32 (before: $blocks_before)"
note "ok: Ctrl+Z took the block back; S saved the map without it"
with_key Control_L y
tap s
blocks=$(count_blocks "$map" 1000 48 32)
[ "$blocks" = $((blocks_before + 1)) ] || fail "after Ctrl+Y and S the map has $blocks blocks at 48, 32"
note "ok: Ctrl+Y put the block back; S saved it"
cp "$map" "$scratch/saved.map"
shot editing

tap t
sleep 1
tap Return     # the level's opening message, if it has one
shot play_before
xdotool keydown Right
press Up 0.4
sleep 0.3
xdotool keyup Right
shot play_after
expect_different editing play_before "T shows the level in play"
expect_different play_before play_after "Right with Up moves the hero"
tap Escape
sleep 0.5
shot back
cmp -s "$map" "$scratch/saved.map" || fail "trying the level changed the map file"
note "ok: Esc came back to the editor; the map file is as it was"

# A click at canvas cell 160, 96: three screen pixels to a canvas pixel.
xdotool mousemove 484 292
sleep 0.3
click
click          # the new block, carried, is dropped
tap s
blocks=$(count_blocks "$map" 1000 160 96)
[ "$blocks" = 1 ] || fail "after a click and S the map has $blocks blocks at 160, 96"
note "ok: a click placed a block at the clicked cell"

tap F1
shot help
expect_different back help "F1 shows the help"
tap F1
press q
expect_done "$(wait_for_exit)"
note "passed"
