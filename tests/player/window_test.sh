#!/usr/bin/env bash
# The game in a window on a desktop: bluejay.cfg asks for a window at twice
# the canvas with sharp pixels; switching to another window holds the game
# where it was and coming back lets it go on; the window's close button
# quits the game as Q does, and the editor saving as on Q.
#
#   tests/player/window_test.sh PROGRAM DATA_FOLDER CLOSE_WINDOW_PROGRAM
source "$(dirname "$0")/player.sh"
CLOSE_WINDOW=$(realpath "${3:?usage: $0 PROGRAM DATA_FOLDER CLOSE_WINDOW_PROGRAM}")
command -v xmessage >/dev/null || fail "xmessage is missing (tools/install_packages.sh installs x11-utils)"

# window_shot NAME: a screenshot of the game's window alone.
window_shot() {
  import -window "$window" "$scratch/$1.png"
}

start_display 1024x768
copy_data
mkdir -p "$XDG_CONFIG_HOME/bluejay"
printf '[window]\nscale = 2\n' >"$XDG_CONFIG_HOME/bluejay/bluejay.cfg"

start_game
window=$(game_window)
xdotool windowfocus "$window"
geometry=$(xwininfo -id "$window" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
[ "$geometry" = 512x448 ] || fail "the window is $geometry, not 512x448"
note "ok: a window of twice 256 x 224"
wait_for_title 2
note "ok: the title fills it at twice its size, pixel for pixel"

# Another window takes the focus: the demo behind the title stops.
xmessage -geometry +700+600 "another program" &
other=$!
background_pids+=($other)
for i in $(seq 50); do
  helper=$(xdotool search --class xmessage 2>/dev/null | head -n 1 || true)
  [ -n "$helper" ] && break
  sleep 0.1
done
[ -n "$helper" ] || fail "the other window did not open"
xdotool windowfocus "$helper"
sleep 0.5
window_shot away_1
sleep 1
window_shot away_2
expect_same away_1 away_2 "the game holds while the player is in another window"
xdotool windowfocus "$window"
sleep 0.5
window_shot back_1
sleep 1
window_shot back_2
expect_different back_1 back_2 "the game goes on when the player comes back"

"$CLOSE_WINDOW" Bluejay || fail "the window takes no close request"
expect_done "$(wait_for_exit)"
note "ok: the close button quits the game"

# The editor: a block placed, then the close button instead of Q.
map="$scratch/game/data/levels/level_0.map"
before=$(cat "$map")
start_game -edit
window=$(game_window)
xdotool windowfocus "$window"
sleep 3
press 3
sleep 0.35
press k
sleep 0.35
"$CLOSE_WINDOW" Bluejay || fail "the editor's window takes no close request"
expect_done "$(wait_for_exit)"
[ "$(cat "$map")" != "$before" ] || fail "the editor did not save the level on the close button"
note "ok: the close button saves the level and quits the editor"

# The X server goes away under the game (the desktop ends): the game ends
# too, with the status of a lost display, and does not hang.
start_game
game_window >/dev/null
sleep 1
kill "${background_pids[0]}"
status=$(wait_for_exit)
[ "$status" = 1 ] || fail "the game ended with status $status when the X server went away"
note "ok: the game ends when the X server goes away"
note "passed"
