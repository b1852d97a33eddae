#!/usr/bin/env bash
# The keys around the game: F7 lowers the music and F9 silences everything;
# F11 turns the full screen into a window of twice the canvas and back while
# the game runs on; F12 saves the picture as a PNG; with jump moved to W in
# bluejay.cfg, W jumps and Up does nothing.
#
#   tests/player/controls_test.sh PROGRAM DATA_FOLDER
source "$(dirname "$0")/player.sh"
command -v sox >/dev/null || fail "sox is missing (tools/install_packages.sh installs it)"
command -v identify >/dev/null || fail "identify is missing (tools/install_packages.sh installs imagemagick)"

# size_of WINDOW: its width x height as xwininfo gives them.
size_of() {
  xwininfo -id "$1" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'
}

# expect_window SIZE: waits for the game's window to have a size, and
# focuses it (a new mode may bring a new window).
expect_window() {
  local i size
  for i in $(seq 50); do
    window=$(game_window)
    size=$(size_of "$window")
    [ "$size" = "$1" ] && break
    sleep 0.1
  done
  [ "$size" = "$1" ] || fail "the window is $size, not $1"
  xdotool windowfocus "$window"
  sleep 0.3
}

# hero_band NAME: the column of the screen (three times the canvas) over the
# hero's starting place on the first level, from a fresh screenshot.
hero_band() {
  shot "$1_full"
  convert "$scratch/$1_full.png" -crop 120x540+72+0 +repage "$scratch/$1.png"
}

record_sound "$scratch/sound.wav"
start_display 768x672
copy_data
mkdir -p "$XDG_CONFIG_HOME/bluejay"
printf '[keys]\njump = W   # a comment after the value\n' >"$XDG_CONFIG_HOME/bluejay/bluejay.cfg"
export XDG_PICTURES_DIR="$scratch/pictures"

start_game
expect_window 768x672
wait_for_title 3
note "ok: full screen, the title at three times its size"

full_from=$(size)
sleep 2
full_to=$(size)
for i in 1 2 3 4; do
  press F7
  sleep 0.1
done
sleep 0.5
lowered_from=$(size)
sleep 2
lowered_to=$(size)
press F9
sleep 0.5
muted_from=$(size)
sleep 1.5
muted_to=$(size)
press F9
full_rms=$(rms "$full_from" "$full_to")
lowered_rms=$(rms "$lowered_from" "$lowered_to")
muted_rms=$(rms "$muted_from" "$muted_to")
note "title music: RMS $full_rms; after F7 four times $lowered_rms; muted $muted_rms"
above "$full_rms" 0.02 || fail "the title music is not audible (RMS $full_rms)"
above "$(awk -v a="$full_rms" 'BEGIN { print a * 0.7 }')" "$lowered_rms" || fail "F7 does not lower the music"
above "$lowered_rms" 0.005 || fail "four steps of F7 silence the music"
above 0.001 "$muted_rms" || fail "F9 does not silence the game (RMS $muted_rms)"
note "ok: F7 lowers the music, F9 mutes it"

press F11
expect_window 512x448
window_from=$(size)
import -window "$window" "$scratch/window_1.png"
sleep 1
import -window "$window" "$scratch/window_2.png"
window_to=$(size)
expect_different window_1 window_2 "F11 opens a window of twice the canvas, and the demo goes on in it"
window_rms=$(rms "$window_from" "$window_to")
above "$window_rms" 0.005 || fail "the music stopped with the change to a window (RMS $window_rms)"
note "ok: the music plays on in the window (RMS $window_rms)"

press F11
expect_window 768x672
wait_for_title 3
note "ok: F11 again fills the screen"

press F12
sleep 0.5
picture=$(ls "$XDG_PICTURES_DIR"/bluejay_*.png 2>/dev/null | head -n 1)
[ -n "$picture" ] || fail "F12 wrote no PNG into $XDG_PICTURES_DIR"
[ "$(identify -format '%m %wx%h' "$picture")" = "PNG 512x448" ] ||
  fail "the screenshot is $(identify -format '%m %wx%h' "$picture"), not a PNG of 512x448"
note "ok: F12 saved $(basename "$picture"), twice the canvas"

# Into the first level; its message closes on a fresh Enter.
press Return
sleep 1.5
press Return
# The level's name shows for three seconds as the level begins.
sleep 3.5
hero_band still_1
sleep 0.5
hero_band still_2
expect_same still_1 still_2 "the hero stands still"
xdotool keydown Up
sleep 0.3
hero_band up
xdotool keyup Up
expect_same still_1 up "Up no longer jumps"
sleep 0.5
xdotool keydown w
sleep 0.3
hero_band jump
xdotool keyup w
expect_different still_1 jump "W jumps"

press q
expect_done "$(wait_for_exit)"
grep -q 'is not\|unknown' "$scratch/game.err" && fail "the settings were reported wrong: $(cat "$scratch/game.err")"
note "passed"
