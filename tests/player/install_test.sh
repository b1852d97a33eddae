#!/usr/bin/env bash
# The game installed as `make install` installs it, under a scratch prefix,
# and started from a folder without any data: it finds its data and its
# music's patch set, plays the title music through the software synthesizer,
# and the editor saves a level into the player's data folder while the
# installed level stays as it was.
#
#   tests/player/install_test.sh PROGRAM DATA_FOLDER
#
# PROGRAM is the one in the build tree; its folder is installed.
source "$(dirname "$0")/player.sh"
command -v cmake >/dev/null || fail "cmake is missing"
command -v sox >/dev/null || fail "sox is missing (tools/install_packages.sh installs it)"

prefix="$scratch/prefix"
cmake --install "$(dirname "$PROGRAM")" --prefix "$prefix" >"$scratch/install.log" 2>&1 ||
  fail "the installation failed: $(tail -5 "$scratch/install.log")"
for file in bin/bluejay lib/bluejay/bluejay lib/bluejay/allegro.cfg share/bluejay/patches.dat \
            share/bluejay/data/levels/level_0.map share/applications/bluejay.desktop \
            share/icons/hicolor/48x48/apps/bluejay.png share/man/man6/bluejay.6; do
  [ -e "$prefix/$file" ] || fail "$file was not installed"
done
grep -qx "patches = $prefix/share/bluejay/patches.dat" "$prefix/lib/bluejay/allegro.cfg" ||
  fail "the installed allegro.cfg does not name the installed patch set"
grep -qx "Exec=$prefix/bin/bluejay" "$prefix/share/applications/bluejay.desktop" ||
  fail "the desktop entry does not start the installed program"
note "ok: the program, data, patch set, allegro.cfg, desktop entry, icons and manual page are installed"
[ -e "$prefix/share/locale/de/LC_MESSAGES/bluejay.mo" ] || fail "the German catalogue was not installed"
grep -q '^Comment\[de\]=' "$prefix/share/applications/bluejay.desktop" ||
  fail "the desktop entry has no German comment"
note "ok: the German catalogue is installed, and the desktop entry speaks German"

PROGRAM="$prefix/bin/bluejay"
GAME_FOLDER="$scratch/elsewhere"
mkdir -p "$GAME_FOLDER"
installed_level="$prefix/share/bluejay/data/levels/level_0.map"
installed_level_before=$(cat "$installed_level")
installed_movie_before=$(cat "$prefix/share/bluejay/data/movie/movie.dat")
user_folder="$XDG_DATA_HOME/bluejay/data"

start_display 768x672
record_sound "$scratch/sound.wav"
BLUEJAY_REPORT=1 start_game
game_window >/dev/null
xdotool mousemove 384 336
wait_for_title 3
note "ok: started from a folder without data, the installed game shows its title"
grep -q 'music DIGMID' "$scratch/game.err" ||
  fail "the installed game's music is not the software synthesizer's: $(grep -v '^ALSA lib' "$scratch/game.err")"
from=$(size)
sleep 3
to=$(size)
press q
expect_done "$(wait_for_exit)"
music_rms=$(rms "$from" "$to")
above "$music_rms" 0.02 || fail "the installed game's title music is not audible (RMS $music_rms)"
note "ok: the installed game plays its title music through the software synthesizer (RMS $music_rms)"
[ -s "$user_folder/movie/movie.dat" ] || fail "the movie was not saved into the player's data folder"
[ "$(cat "$prefix/share/bluejay/data/movie/movie.dat")" = "$installed_movie_before" ] ||
  fail "the installed movie was changed"
note "ok: the movie went to the player's data folder"

no_sound_device
start_game -edit
game_window >/dev/null
xdotool mousemove 384 336
sleep 3
for key in 3 l l l m m k k s; do
  press "$key"
  sleep 0.35
done
press q
expect_done "$(wait_for_exit)"
[ -s "$user_folder/levels/level_0.map" ] || fail "the editor did not save into the player's data folder"
[ "$(cat "$installed_level")" = "$installed_level_before" ] || fail "the installed level was changed"
python3 - "$user_folder/levels/level_0.map" <<'PYTHON' || fail "the saved level does not hold the new block"
import sys
numbers = [int(word) for word in open(sys.argv[1]).read().split()]
at = 2
while numbers[at] != -1:
    at += 3
at += 1
blocks = []
while numbers[at] != -1:
    blocks.append(tuple(numbers[at:at + 3]))
    at += 3
sys.exit(0 if (1000, 48, 32) in blocks else 1)
PYTHON
note "ok: the editor saved the level into the player's data folder; the installed one is unchanged"

# The settings file asks for German: its own reports read German, the two
# console messages stay English.
mkdir -p "$XDG_CONFIG_HOME/bluejay"
printf '[display]\nlanguage = de\n[window]\nsize = 3\n' >"$XDG_CONFIG_HOME/bluejay/bluejay.cfg"
start_game -x
[ "$(wait_for_exit)" = 0 ] || fail "the game ended badly"
grep -q 'unbekannter Schlüssel "size" in \[window\]' "$scratch/game.err" ||
  fail "the settings report is not German: $(grep -v '^ALSA lib' "$scratch/game.err")"
printf 'Invalid switch or switches.\nDone.\n' | cmp -s - "$scratch/game.out" ||
  fail "the console messages in German were: $(cat "$scratch/game.out")"
note "ok: the installed game reads its catalogue: the settings report in German, \"Done.\" in English"
rm "$XDG_CONFIG_HOME/bluejay/bluejay.cfg"
note "passed"
