#!/usr/bin/env bash
# The player's own game across runs: down the first pipe into level 1, quit,
# start again and C on the title goes on from level 1; a few seconds recorded
# there with 4 and kept with 6 are what the title replays on the next start,
# in place of the demo that comes with the game.
#
#   tests/player/continue_test.sh PROGRAM DATA_FOLDER
source "$(dirname "$0")/player.sh"

start_display 768x672
copy_data
# The first level of this copy: the hero stands on the pipe to level 1, so
# one press of Down takes a player there.
{
  printf '0\n0\n2 32 136\n-1\n1006 32 160\n1005 64 192\n-1\n1\n'
  for i in $(seq 49); do printf '0\n'; done
} >"$scratch/game/data/levels/level_0.map"
progress="$XDG_DATA_HOME/bluejay/progress.txt"

# white_in_band SHOT: the white pixels of the band below "Press Enter" where
# the title offers to continue (canvas rows 184 to 191, three times as big).
white_in_band() {
  convert "$scratch/$1.png" -crop 768x24+0+552 +repage -fill black +opaque white -fill white -opaque white \
    -format '%[fx:round(mean*w*h)]' info:
}

start_run() {
  start_game
  game_window >/dev/null
  xdotool mousemove 384 336
  wait_for_title 3
}

# The first run: the demo behind the title, nothing offered yet.
start_run
sleep 1
shot demo_1
sleep 1
shot demo_2
[ "$(white_in_band demo_1)" -lt 100 ] || fail "a level is offered before any was reached"
press Return
sleep 1.5
shot level_0
press Down
sleep 2.5
shot arrived_1
expect_different level_0 arrived_1 "down the pipe into level 1"
press q
expect_done "$(wait_for_exit)"
grep -qx 'level 1' "$progress" || fail "level 1 was not remembered ($(cat "$progress" 2>/dev/null))"
note "ok: level 1 is remembered"

# The second run: C goes on from level 1 with a fresh hero.
start_run
shot offered
offered=$(white_in_band offered)
[ "$offered" -gt 300 ] || fail "the title does not offer level 1 ($offered white pixels on its line)"
note "ok: the title offers level 1 ($offered white pixels on its line)"
press c
sleep 2.5
shot continued
[ "$(title_pixels_missing continued 3)" != 0 ] || fail "the title is still on screen after C"
changed=$(pixels_unlike arrived_1 continued)
[ "$changed" -lt 20000 ] || fail "C did not start on level 1 ($changed pixels unlike the arrival there)"
note "ok: C starts on level 1 as the pipe did ($changed pixels changed)"

# A few seconds recorded there: the hero turns left and stands still.
press Return
sleep 0.5
press 4
sleep 1
press Return
sleep 0.3
press Left 0.3
sleep 3
press 6
sleep 0.3
press q
expect_done "$(wait_for_exit)"
grep -q '^movie 1 ' "$progress" || fail "the recording is not known as the player's ($(cat "$progress"))"
head -n 1 "$scratch/game/data/movie/movie.dat" | grep -qx 1 || fail "the movie written is not of level 1"
note "ok: the recording was written as the movie"

# The third run: the title replays those seconds, not the demo.
start_run
sleep 1
shot replay_1
sleep 1
shot replay_2
expect_different demo_1 replay_1 "the title no longer shows the demo"
demo_moved=$(pixels_unlike demo_1 demo_2)
replay_moved=$(pixels_unlike replay_1 replay_2)
[ $((replay_moved * 10)) -lt "$demo_moved" ] ||
  fail "the title does not replay the hero standing still ($replay_moved pixels changed in a second, the demo $demo_moved)"
note "ok: the title replays the recording ($replay_moved pixels changed in a second, the demo $demo_moved)"
press q
expect_done "$(wait_for_exit)"
note "passed"
