#!/usr/bin/env bash
# The menus as a player meets them, at twice the canvas: the title menu, then
# Levels, Options and Controls from it, each with Enter and back with Esc; a
# level of the player's own (one no pipe leads to) started from Levels; the
# pause menu over it with Esc, Resume, and Q.
#
#   tests/player/menus_test.sh PROGRAM DATA_FOLDER
source "$(dirname "$0")/player.sh"

start_display 512x448
copy_data
# A level of the player's own: the hero on the ground, a black sky.
{
  printf '6\n0\n2 100 168\n-1\n'
  for x in 0 32 64 96 128 160 192 224; do printf '1005 %d 192\n' "$x"; done
  printf -- '-1\n'
  for i in $(seq 50); do printf '0\n'; done
} >"$scratch/game/data/levels/level_60.map"
printf 'My own meadow\n' >"$scratch/game/data/messages/message_60.txt"

# dark SHOT: whether the sky right of the hero's place, above the level's
# name, is black (canvas 140 to 239 across, 42 to 76 down).
dark() {
  [ "$(convert "$scratch/$1.png" -crop 200x70+280+84 +repage -format '%[fx:round(mean*1000)]' info:)" -lt 5 ]
}

step() {
  press "$1"
  sleep 0.3
}

start_game
game_window >/dev/null
wait_for_title 2
shot menu_title
note "ok: the title menu leaves the title picture whole"

step Down
step Return
shot menu_levels
expect_different menu_title menu_levels "Enter on Levels opens the list"
step Escape
step Down
step Return
shot menu_options
expect_different menu_levels menu_options "Enter on Options opens the options"
step Escape
step Down
step Return
shot menu_controls
expect_different menu_options menu_controls "Enter on Controls lists the keys"
step Escape

# Levels again: level 0, the heading of the player's levels, level 60.
step Up
step Up
step Return
step Down
step Return
sleep 2
shot level_60
dark level_60 || fail "the game did not start on the player's own level"
note "ok: the player's own level starts from Levels"

step Escape
shot menu_pause
dark menu_pause && fail "no pause menu over the game"
note "ok: Esc shows the pause menu"
step Return
shot resumed
dark resumed || fail "Resume did not take the pause menu away"
note "ok: Resume gives the game back"
press q
expect_done "$(wait_for_exit)"
note passed
