# Helpers for the tests that play the game as a player does: a virtual X
# display of its own, the game started from a copy of the data in a scratch
# folder (so the movie and levels it writes never touch the project's), key
# presses held as a player holds them, screenshots, and the game's exit.
#
# A test script sources this file with two arguments: the game program and
# the data folder to copy. Everything it starts is stopped, and the scratch
# folder removed, when the script ends.

set -euo pipefail

PROGRAM=$(realpath "${1:?usage: $0 PROGRAM DATA_FOLDER}")
SOURCE_DATA=$(realpath "${2:?usage: $0 PROGRAM DATA_FOLDER}")
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
TEST_NAME=$(basename "$0" .sh)

for tool in Xvfb xdotool xwininfo import compare convert; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (tools/install_packages.sh installs it)" >&2; exit 1; }
done

scratch=$(mktemp -d /tmp/bluejay_player_XXXXXX)
background_pids=()
game_pid=

# BLUEJAY_PLAYER_KEEP=FOLDER keeps the screenshots and recordings there.
cleanup() {
  local pid
  if [ -n "${BLUEJAY_PLAYER_KEEP:-}" ]; then
    mkdir -p "$BLUEJAY_PLAYER_KEEP"
    cp "$scratch"/*.png "$scratch"/*.wav "$scratch"/sizes "$scratch"/game.* "$BLUEJAY_PLAYER_KEEP"/ 2>/dev/null || true
  fi
  for pid in $game_pid "${background_pids[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in $game_pid "${background_pids[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$scratch"
}
trap cleanup EXIT

note() {
  echo "[$TEST_NAME] $*"
}

fail() {
  echo "[$TEST_NAME] FAIL: $*" >&2
  local file
  for file in "$scratch"/game*.out "$scratch"/game*.err; do
    [ -s "$file" ] && { echo "--- $file" >&2; grep -v '^ALSA lib' "$file" | tail -20 >&2; }
  done
  exit 1
}

# A player's home: no settings, and sound sent to a device that is not there
# (silent, whatever the machine has), unless a test says otherwise
# (record_sound). no_sound_device puts that back.
export HOME="$scratch/home"
export XDG_CONFIG_HOME="$HOME/.config"
export XDG_DATA_HOME="$HOME/.local/share"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
no_sound_device() {
  printf 'pcm.!default { type hw card 99 }\nctl.!default { type hw card 99 }\n' >"$HOME/.asoundrc"
}
no_sound_device

# start_display WIDTHxHEIGHT: an X server of its own, on the first free
# display number.
start_display() {
  Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp 3>"$scratch/display" >/dev/null 2>&1 &
  background_pids+=($!)
  local i
  for i in $(seq 100); do
    [ -s "$scratch/display" ] && break
    sleep 0.1
  done
  [ -s "$scratch/display" ] || fail "the virtual display did not start"
  export DISPLAY=":$(head -n 1 "$scratch/display")"
}

# copy_data: the game's folder in the scratch folder, holding a copy of data/.
copy_data() {
  mkdir -p "$scratch/game"
  cp -r "$SOURCE_DATA" "$scratch/game/data"
}

# start_game [ARGUMENTS...]: starts the game in the scratch game folder;
# its output goes to game.out and game.err, its exit status to game.status.
# It is stopped after a minute (GAME_SECONDS) whatever happens.
launch_game() {
  rm -f "$scratch/game.status"
  (
    cd "${GAME_FOLDER:-$scratch/game}"
    set +e
    timeout "${GAME_SECONDS:-60}" "$PROGRAM" "$@" >"$scratch/game.out" 2>"$scratch/game.err"
    echo $? >"$scratch/game.status"
  ) &
  game_pid=$!
}

# The library's start on X very rarely fails, with no reason given, when
# several virtual displays start at once (tests run side by side); such a
# start is tried once more.
start_game() {
  launch_game "$@"
  local i
  for i in $(seq 50); do
    [ -s "$scratch/game.status" ] && break
    xwininfo -root -children 2>/dev/null | grep -q '^ *0x' && return 0
    sleep 0.1
  done
  if [ -s "$scratch/game.status" ] && grep -q '^Cannot start the game library' "$scratch/game.err"; then
    note "the game library did not start; trying once more"
    wait "$game_pid" 2>/dev/null || true
    launch_game "$@"
  fi
}

# game_window: the id of the game's window (the mapped one of its windows)
# once it is there, waiting up to 10 seconds.
game_window() {
  local i id
  for i in $(seq 100); do
    # Top-level windows but the test's own helpers (xmessage).
    for id in $(xwininfo -root -children 2>/dev/null | grep -v '"xmessage"' | grep -oE '^ +0x[0-9a-f]+'); do
      if xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then
        echo "$id"
        return 0
      fi
    done
    sleep 0.1
  done
  fail "no game window appeared"
}

# wait_for_exit: waits up to 15 seconds for the game to end; prints its
# exit status.
wait_for_exit() {
  local i
  for i in $(seq 150); do
    [ -s "$scratch/game.status" ] && break
    sleep 0.1
  done
  [ -s "$scratch/game.status" ] || fail "the game did not end"
  wait "$game_pid" 2>/dev/null || true
  game_pid=
  cat "$scratch/game.status"
}

# press KEY [SECONDS]: holds a key down as a player does, then lets go: by
# default a tenth of a second, longer than one 30 ms tick of the game (which
# reads key states each tick) and shorter than the 7 ticks after which P
# would toggle the pause again.
press() {
  xdotool keydown "$1"
  sleep "${2:-0.1}"
  xdotool keyup "$1"
}

# shot NAME: a screenshot of the whole display, NAME.png in the scratch folder.
shot() {
  import -window root "$scratch/$1.png"
}

# pixels_unlike A B: how many pixels differ between two screenshots.
pixels_unlike() {
  # compare says how many on its error output, and fails when any differ.
  { compare -metric AE "$scratch/$1.png" "$scratch/$2.png" null: 2>&1 >/dev/null || true; } |
    grep -oE '^[0-9.e+]+' | head -n 1
}

expect_same() {
  local count
  count=$(pixels_unlike "$1" "$2")
  [ "$count" = 0 ] || fail "$3 ($1 and $2 differ in $count pixels)"
  note "ok: $3"
}

expect_different() {
  local count
  count=$(pixels_unlike "$1" "$2")
  [ "$count" != 0 ] || fail "$3 ($1 and $2 are the same)"
  note "ok: $3 ($count pixels changed)"
}

# expect_done STATUS: the game ended as it should, with "Done." on its output.
expect_done() {
  [ "$1" = 0 ] || fail "the game ended with status $1"
  grep -qx 'Done.' "$scratch/game.out" || fail "no \"Done.\" on the game's output"
  note "ok: the game ended with \"Done.\" and status 0"
}

# title_pixels_missing SHOT SCALE: how many pixels of the title picture, drawn
# at SCALE times its size from the top-left corner, the screenshot lacks (0
# when the title is on screen).
title_pixels_missing() {
  [ -f "$scratch/title_$2.png" ] ||
    convert "$SOURCE_DATA/graphics/misc/title.bmp" -transparent '#FF00FF' -filter point \
      -resize "$(($2 * 100))%" "$scratch/title_$2.png"
  composite -compose over "$scratch/title_$2.png" "$scratch/$1.png" "$scratch/$1_titled.png"
  pixels_unlike "$1" "$1_titled"
}

# wait_for_title SCALE: waits up to 20 seconds for the title over the demo.
wait_for_title() {
  local i
  for i in $(seq 40); do
    shot title_wait
    [ "$(title_pixels_missing title_wait "$1")" = 0 ] && return 0
    sleep 0.5
  done
  fail "the title never showed"
}

# Measuring the sound the game sends to a file (see record_sound).

# record_sound FILE: the game's sound goes to a WAV file from now on: ALSA's
# file plugin behind a plug that converts to signed 16-bit samples. The file
# is not paced by a clock, so it is measured for loudness and presence only;
# the places in it are found by its size at the moments keys are pressed.
record_sound() {
  wav=$1
  cat >"$HOME/.asoundrc" <<ALSA
pcm.!default {
  type plug
  slave {
    pcm {
      type file
      file "$wav"
      format "wav"
      slave.pcm "null"
    }
    format S16_LE
  }
}
ALSA
}

# size: the bytes of the sound file so far.
size() {
  stat -c %s "$wav" 2>/dev/null || echo 0
}

# seconds BYTES BYTES_PER_SECOND
seconds() {
  awk -v bytes="$1" -v rate="$2" 'BEGIN { printf "%.6f", bytes / rate }'
}

# rms FROM TO: the RMS amplitude (0 to 1) of the samples between two sizes
# of the file.
rms() {
  local rate channels bytes_per_second
  rate=$(sox --i -r "$wav")
  channels=$(sox --i -c "$wav")
  bytes_per_second=$((rate * channels * 2))
  sox "$wav" -n trim "$(seconds $(($1 - 44)) "$bytes_per_second")" \
    "$(seconds $(($2 - $1)) "$bytes_per_second")" stat 2>&1 |
    awk '/^RMS +amplitude/ { print $3 }'
}

# sounding FROM TO: the seconds of the samples between two sizes of the file
# that are not silence (sox's silence effect drops every stretch quieter
# than half a percent for a hundredth of a second or more).
sounding() {
  local rate channels bytes_per_second
  rate=$(sox --i -r "$wav")
  channels=$(sox --i -c "$wav")
  bytes_per_second=$((rate * channels * 2))
  sox "$wav" "$scratch/sounding.wav" trim "$(seconds $(($1 - 44)) "$bytes_per_second")" \
    "$(seconds $(($2 - $1)) "$bytes_per_second")" silence 1 0.01 0.5% -1 0.01 0.5%
  sox --i -D "$scratch/sounding.wav"
}

# above A B: whether the number A is above B.
above() {
  awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'
}

# The editor.

# count_blocks MAP TYPE X Y: how many platforms of the map are TYPE at X, Y.
count_blocks() {
  python3 - "$@" <<'PYTHON'
import sys
path, wanted = sys.argv[1], tuple(int(v) for v in sys.argv[2:5])
numbers = [int(word) for word in open(path).read().split()]
at = 2
while numbers[at] != -1:      # characters: type x y ... -1
    at += 3
at += 1
count = 0
while numbers[at] != -1:      # platforms: type x y ... -1
    count += tuple(numbers[at:at + 3]) == wanted
    at += 3
print(count)
PYTHON
}

# tap KEY: a short press, one step of the editor (its commands repeat after
# 7 ticks of holding), and a pause before the next.
tap() {
  press "$1" 0.1
  sleep 0.35
}

# wait_for_editor: waits up to 20 seconds for the editor's first picture of a
# level (the loading screen is black where the level's background shows).
wait_for_editor() {
  local i
  for i in $(seq 100); do
    shot editor_ready
    [ "$(convert "$scratch/editor_ready.png" -format '%[fx:p{384,400}.r+p{384,400}.g+p{384,400}.b > 0]' info:)" = 1 ] &&
      return 0
    sleep 0.2
  done
  fail "the editor showed no level"
}
