#!/usr/bin/env bash
# The game's sound as a player hears it, with ALSA sent to a WAV file (a plug
# that converts to signed 16-bit samples in front of the file plugin): the
# title music is audible and played by the software synthesizer, the pause
# chime sounds and the music holds while paused; the program's answer to an
# unknown switch; a minute of the title music as loud as it always was,
# with the device never left without sound; and a machine without a sound
# device runs silently and cleanly.
#
#   tests/player/sound_test.sh PROGRAM DATA_FOLDER
#
# BLUEJAY_MUSIC_SECONDS sets the length of the music measure (default 60).
source "$(dirname "$0")/player.sh"
command -v sox >/dev/null || fail "sox is missing (tools/install_packages.sh installs it)"

record_sound "$scratch/sound.wav"

start_display 768x672
copy_data

note "the game with sound sent to a file"
BLUEJAY_REPORT=1 start_game
game_window >/dev/null
xdotool mousemove 384 336
wait_for_title 3
grep -q 'music DIGMID' "$scratch/game.err" ||
  fail "the music is not played by the software synthesizer: $(grep -v '^ALSA lib' "$scratch/game.err")"
grep -q 'sound ALSA' "$scratch/game.err" || fail "the sound effects do not go through ALSA"
note "ok: sound effects through ALSA, music through the software synthesizer"
title_from=$(size)
sleep 3
title_to=$(size)

press Return
sleep 1.5
press Return       # closes the level's opening message, if there is one
sleep 1.5
pause_from=$(size)
press p            # holds the music and sounds the pause chime
sleep 1.5
held_from=$(size)
sleep 1.5
held_to=$(size)
press q
expect_done "$(wait_for_exit)"

title_rms=$(rms "$title_from" "$title_to")
title_sounding=$(sounding "$title_from" "$title_to")
chime_rms=$(rms "$pause_from" "$held_from")
chime_sounding=$(sounding "$pause_from" "$held_from")
held_rms=$(rms "$held_from" "$held_to")
echo "$title_from $title_to $pause_from $held_from $held_to" >"$scratch/sizes"
note "title music: RMS $title_rms, $title_sounding s sounding"
note "pause chime: RMS $chime_rms, $chime_sounding s sounding; then held: RMS $held_rms"
above "$title_rms" 0.02 || fail "the title music is not audible (RMS $title_rms)"
above "$title_sounding" 2 || fail "the title music is mostly silence ($title_sounding s sounding)"
note "ok: the title music is audible"
# The chime is 0.42 s long; the tune stops within a tick of the key.
above "$chime_rms" 0.005 || fail "no pause chime (RMS $chime_rms)"
above "$chime_sounding" 0.3 || fail "no pause chime ($chime_sounding s sounding)"
note "ok: the pause chime sounds"
above 0.002 "$held_rms" || fail "the music goes on while paused (RMS $held_rms)"
note "ok: the music holds while the game is paused"

mv "$wav" "$scratch/game_with_sound.wav"

# The title music for a minute. The file takes the sound as fast as it is
# given, so the game's own clock sets how much of it there is: at least the
# minute's worth and not much more, and the game's report says how long its
# sound went without being fed (the device runs dry only after the five
# periods it holds).
music_seconds=${BLUEJAY_MUSIC_SECONDS:-60}
record_sound "$scratch/music_recording.wav"
note "the title music for $music_seconds s"
GAME_SECONDS=$((music_seconds + 30)) BLUEJAY_REPORT=1 start_game
game_window >/dev/null
wait_for_title 3
music_from=$(size)
sleep "$music_seconds"
music_to=$(size)
press q
expect_done "$(wait_for_exit)"
mv "$wav" "$scratch/title_music.wav"
wav="$scratch/title_music.wav"
music_rms=$(rms "$music_from" "$music_to")
music_length=$(seconds $((music_to - music_from)) $((44100 * 2 * 2)))
period=$(sed -n 's/^Sound fed every \([0-9]*\) us$/\1/p' "$scratch/game.err")
longest=$(sed -n 's/^Sound fed [0-9]* times, longest wait \([0-9]*\) us$/\1/p' "$scratch/game.err")
note "title music: RMS $music_rms over $music_length s of sound; fed every ${period:-?} us, longest wait ${longest:-?} us"
# The title music's RMS over a minute of sound written in its own time. (When
# the library's thread fed the file it wrote the sound 2.2 times as fast as
# it is played, 134.7 s of it in the minute, the notes ever later in it:
# RMS 0.0673 then.)
today_rms=0.0795
above "$music_rms" "$(awk -v r=$today_rms 'BEGIN { print r * 0.9 }')" &&
  above "$(awk -v r=$today_rms 'BEGIN { print r * 1.1 }')" "$music_rms" ||
  fail "the title music's RMS $music_rms is not within a tenth of $today_rms"
above "$music_length" "$((music_seconds - 1))" || fail "only $music_length s of sound in $music_seconds s"
above "$((music_seconds * 5 / 4))" "$music_length" || fail "$music_length s of sound in $music_seconds s: fed faster than it plays"
if [ -n "$period" ]; then
  [ -n "$longest" ] || fail "the game did not say how it fed its sound"
  above $((5 * period)) "$longest" || fail "the sound went $longest us without being fed (the device holds 5 periods of $period us)"
fi
note "ok: the title music plays on in its own time, never left to run dry"
wav="$scratch/music_recording.wav"

# From here on the machine has no sound device.
no_sound_device

note "an unknown switch"
start_game -x
status=$(wait_for_exit)
[ "$status" = 0 ] || fail "the game ended with status $status"
printf 'Invalid switch or switches.\nDone.\n' | cmp -s - "$scratch/game.out" ||
  fail "the answer to -x was: $(cat "$scratch/game.out")"
note "ok: -x prints exactly \"Invalid switch or switches.\" and \"Done.\""

note "an unknown switch, in German"
LANGUAGE=de start_game -x
status=$(wait_for_exit)
printf 'Invalid switch or switches.\nDone.\n' | cmp -s - "$scratch/game.out" ||
  fail "the answer to -x in German was: $(cat "$scratch/game.out")"
note "ok: the two console messages stay English in German"

note "a machine without a sound device"
BLUEJAY_REPORT=1 start_game
game_window >/dev/null
xdotool mousemove 384 336
wait_for_title 3
sleep 1
press Return
sleep 1
press q
expect_done "$(wait_for_exit)"
grep -q 'sound none' "$scratch/game.err" || fail "a sound driver was found: $(grep -v '^ALSA lib' "$scratch/game.err")"
[ ! -e "$wav" ] || fail "sound reached the file without a device"
# Only the sound library's own notes about the missing card, and the
# report asked for.
unexpected=$(grep -v -e '^ALSA lib' -e '^Screen [0-9]*x[0-9]*, ' -e '^Shown: ' "$scratch/game.err" || true)
[ -z "$unexpected" ] || fail "the game complained: $unexpected"
note "ok: without a sound device the game runs silently and ends cleanly"
note "passed"
