#!/usr/bin/env bash
# The game as its package installs it (the program in games/, the data in
# share/games/bluejay), started from a folder without any data: it finds
# its data and the music's patch set, shows the title and quits with "Done.".
#
#   tests/player/package_test.sh PROGRAM DATA_FOLDER
#
# PROGRAM is the installed one (in /usr/games, or in a folder the package
# was unpacked in); DATA_FOLDER the installed data, whose title is looked
# for.
source "$(dirname "$0")/player.sh"

GAME_FOLDER="$scratch/elsewhere"
mkdir -p "$GAME_FOLDER"
start_display 768x672
# A sound device (a file), so that the music has a synthesizer to play on.
record_sound "$scratch/sound.wav"
BLUEJAY_REPORT=1 start_game
game_window >/dev/null
xdotool mousemove 384 336
wait_for_title 3
note "ok: started from a folder without data, the installed game shows its title"
grep -q 'music DIGMID' "$scratch/game.err" ||
  fail "the installed game did not find the music's patch set: $(grep -v '^ALSA lib' "$scratch/game.err")"
note "ok: the installed game plays its music through the software synthesizer"
press q
expect_done "$(wait_for_exit)"
note "passed"
