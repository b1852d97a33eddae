#!/usr/bin/env bash
# The game as a player meets it: the title over the moving demo, Enter, the
# hero running and jumping, the pause holding the picture, Q, "Done.".
#
#   tests/player/game_test.sh PROGRAM DATA_FOLDER
source "$(dirname "$0")/player.sh"

start_display 768x672
copy_data
movie_saved_before=$(stat -c %y "$scratch/game/data/movie/movie.dat")
start_game
game_window >/dev/null
xdotool mousemove 384 336

wait_for_title 3
note "ok: the title is on screen"
shot title_1
sleep 1
shot title_2
expect_different title_1 title_2 "the demo moves behind the title"

press Return
sleep 1.5
# A level may open with a message; a fresh Enter closes it.
press Return
sleep 1
shot play_1
missing=$(title_pixels_missing play_1 3)
[ "$missing" != 0 ] || fail "the title is still on screen after Enter"
note "ok: Enter leaves the title"

xdotool keydown Right keydown Up
sleep 0.6
shot play_2
xdotool keyup Up
sleep 0.4
xdotool keyup Right
expect_different play_1 play_2 "the hero runs and jumps"

press p
sleep 0.5
shot paused_1
# Nothing moves while paused, not even a hero told to run.
xdotool keydown Right
sleep 0.6
xdotool keyup Right
sleep 0.4
shot paused_2
expect_same paused_1 paused_2 "the picture holds while paused"

press p
sleep 0.5
press q
expect_done "$(wait_for_exit)"
# Nothing was recorded: the movie is left as it was.
[ "$(stat -c %y "$scratch/game/data/movie/movie.dat")" = "$movie_saved_before" ] ||
  fail "the movie was written though nothing was recorded"
! ls "$scratch/game/data/movie/movie.dat.tmp"* >/dev/null 2>&1 || fail "the movie's temporary file was left behind"
note "ok: a game that recorded nothing leaves the movie alone"
note "passed"
