#!/usr/bin/env bash
# The editor loses no work: with a level that cannot be written (a folder in
# the place of its map), a placed block and Q, the editor stays and shows the
# red line; Q again quits without saving. Then an edit and SIGTERM, as when
# the desktop logs out: the edit is saved and the editor ends as on Q.
#
#   tests/player/editor_saves_test.sh PROGRAM DATA_FOLDER
source "$(dirname "$0")/player.sh"

# red_notice_pixels SHOT: pure red pixels where the editor's notices are, the
# lines below "Level" and "Mode" (canvas rows 22 to 37, three times larger).
red_notice_pixels() {
  convert "$scratch/$1.png" -crop 768x48+0+66 +repage txt:- | grep -c '#FF0000' || true
}

# place_block: platform mode, the cursor at 48, 64 (below the notices), a
# brown block placed.
place_block() {
  tap 3
  tap l; tap l; tap l
  tap m; tap m; tap m; tap m
  tap k; tap k
}

# The editor's own process (under the test's timeout).
editor_pid() {
  pgrep -P "$(pgrep -P "$game_pid")"
}

start_display 768x672
copy_data
map="$scratch/game/data/levels/level_0.map"
original="$scratch/level_0.map"
cp "$map" "$original"

# A level that cannot be written.
rm "$map"
mkdir "$map"
start_game -edit
game_window >/dev/null
wait_for_editor
place_block
shot before_quit
[ "$(red_notice_pixels before_quit)" = 0 ] || fail "a red line before any save"
tap q
sleep 1
[ ! -s "$scratch/game.status" ] || fail "Q quit although level 0 could not be saved"
shot not_saved
red=$(red_notice_pixels not_saved)
[ "$red" -gt 100 ] || fail "no red line after the failed save ($red red pixels)"
note "ok: Q with an unsaved level keeps the editor and shows the red line ($red red pixels)"
tap q
expect_done "$(wait_for_exit)"
[ -d "$map" ] || fail "the folder in the map's place was touched"
note "ok: Q again quits without saving"

# An edit, then SIGTERM.
rmdir "$map"
cp "$original" "$map"
blocks_before=$(count_blocks "$map" 1000 48 64)
start_game -edit
game_window >/dev/null
wait_for_editor
place_block
kill -TERM "$(editor_pid)"
expect_done "$(wait_for_exit)"
blocks_after=$(count_blocks "$map" 1000 48 64)
[ "$blocks_after" = $((blocks_before + 1)) ] ||
  fail "after SIGTERM the map has $blocks_after brown blocks at 48, 64 (before: $blocks_before)"
[ ! -e "$map.tmp" ] || fail "the map's temporary file was left behind"
note "ok: SIGTERM saved the edit"
note "passed"
