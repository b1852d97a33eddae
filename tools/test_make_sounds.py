#!/usr/bin/env python3
"""Tests of the tune and sound effect generator.

    python3 tools/test_make_sounds.py
"""

import contextlib
import io
import math
import os
import shutil
import struct
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_sounds as ms  # noqa: E402


def read_midi(data):
    """A small reader: (format, division, tracks), each track a list of
    (absolute tick, status or meta type, data bytes) ending with 0x2F.
    Understands running status (a channel message without its status
    byte repeats the status before it)."""
    assert data[:4] == b"MThd"
    _, fmt, count, division = struct.unpack(">IHHH", data[4:14])
    position = 14
    tracks = []
    for _ in range(count):
        assert data[position:position + 4] == b"MTrk"
        length = struct.unpack(">I", data[position + 4:position + 8])[0]
        body = data[position + 8:position + 8 + length]
        position += 8 + length
        events, i, tick, running = [], 0, 0, None
        while i < len(body):
            delta = 0
            while True:
                byte = body[i]
                i += 1
                delta = (delta << 7) | (byte & 0x7F)
                if byte < 0x80:
                    break
            tick += delta
            status = body[i]
            if status < 0x80:            # running status: the last one again
                assert running is not None
                status = running
            else:
                i += 1
            if status == 0xFF:
                running = None
                kind, size = body[i], body[i + 1]
                events.append((tick, ("meta", kind), body[i + 2:i + 2 + size]))
                i += 2 + size
            else:
                running = status
                size = 1 if status & 0xF0 in (0xC0, 0xD0) else 2
                events.append((tick, status, body[i:i + size]))
                i += size
        tracks.append(events)
    return fmt, division, tracks


SMALL_TUNE = """
title Small
mood test
tempo 120
time 4/4
key G major

part melody
program 73 flute
channel 0
section A
| g4:4 a4 b4 c5~ | c5:2 d5:8 e5 f#5:4
form A*4

part bass
program 32 bass
channel 2
section A
| g2:1 | d2:2 d2/a2
form A*4

drums kit
section beat
kick  x.......x.......
snare ....x.......x...
form beat*8
"""


class PitchesAndDurations(unittest.TestCase):
    def test_pitch_names(self):
        self.assertEqual(ms.parse_pitch("c4"), 60)
        self.assertEqual(ms.parse_pitch("a4"), 69)
        self.assertEqual(ms.parse_pitch("f#5"), 78)
        self.assertEqual(ms.parse_pitch("bb3"), 58)
        self.assertEqual(ms.parse_pitch("cb6"), 83)
        self.assertEqual(ms.parse_pitch("e#5"), 77)
        with self.assertRaises(ValueError):
            ms.parse_pitch("h4")

    def test_durations(self):
        self.assertEqual(ms.parse_duration("4"), 96)
        self.assertEqual(ms.parse_duration("1"), 384)
        self.assertEqual(ms.parse_duration("8."), 72)
        self.assertEqual(ms.parse_duration("2.."), 336)
        self.assertEqual(ms.parse_duration("8t"), 32)
        self.assertEqual(ms.parse_duration("2+8"), 240)
        with self.assertRaises(ValueError):
            ms.parse_duration("3")

    def test_a_missing_duration_repeats_the_last_one(self):
        bars = ms.parse_melodic_bars("c4:8 d4 e4:4 f4 g4", 384, "test")
        self.assertEqual([event[1] for event in bars[0]], [48, 48, 96, 96, 96])

    def test_a_bar_that_does_not_add_up_is_refused(self):
        with self.assertRaises(ms.TuneError):
            ms.parse_melodic_bars("c4:4 d4 e4", 384, "test")

    def test_chords_accents_and_rests(self):
        bars = ms.parse_melodic_bars("c4/e4/g4:2 r:4 c5:4!", 384, "test")
        self.assertEqual(bars[0][0][0], (60, 64, 67))
        self.assertEqual(bars[0][1][0], ())
        self.assertEqual(bars[0][2][2], 20)

    def test_drum_grid(self):
        bars = ms.parse_drum_bars(["kick x...|X...", "hat  o.o.|o.o."], 4,
                                  384, "test")
        self.assertEqual(len(bars), 2)
        self.assertIn((0, 36, 92), bars[0])
        self.assertIn((192, 42, 56), bars[0])
        self.assertIn((0, 36, 118), bars[1])
        with self.assertRaises(ms.TuneError):
            ms.parse_drum_bars(["cowbel x..."], 4, 384, "test")

    def test_swing_moves_only_the_off_beats(self):
        self.assertEqual(ms.swing_tick(0, (2, 3)), 0)
        self.assertEqual(ms.swing_tick(48, (2, 3)), 64)
        self.assertEqual(ms.swing_tick(96, (2, 3)), 96)
        self.assertEqual(ms.swing_tick(144, (2, 3)), 160)
        self.assertEqual(ms.swing_tick(48, None), 48)


class SmallTune(unittest.TestCase):
    def setUp(self):
        self.tune = ms.parse_tune(SMALL_TUNE, "small")

    def test_length_and_parts(self):
        self.assertEqual(self.tune.bars, 8)
        self.assertEqual(self.tune.end, 8 * 384)
        self.assertEqual([p.name for p in self.tune.parts],
                         ["melody", "bass", "kit"])
        self.assertAlmostEqual(self.tune.seconds(), 16.0)

    def test_tied_notes_join(self):
        melody = self.tune.part("melody").notes
        tied = [n for n in melody if n.pitch == 72]
        self.assertEqual(tied[0].start, 288)
        self.assertEqual(tied[0].length, int(288 * 0.9 + 0.5))

    def test_midi_file(self):
        fmt, division, tracks = read_midi(ms.midi_bytes(self.tune))
        self.assertEqual((fmt, division, len(tracks)), (1, 96, 4))
        for events in tracks:
            self.assertEqual(events[-1][1], ("meta", 0x2F))
            self.assertEqual(events[-1][0], 8 * 384)
        tempo = [e for e in tracks[0] if e[1] == ("meta", 0x51)][0]
        self.assertEqual(int.from_bytes(tempo[2], "big"), 500000)
        programs = [e for e in tracks[1] if e[1] == 0xC0]
        self.assertEqual(programs, [(0, 0xC0, bytes([73]))])
        self.assertTrue(all(e[1] in (0x99, 0x89, 0xB9) for e in tracks[3]
                            if not isinstance(e[1], tuple)))

    def test_tempo_changes(self):
        text = SMALL_TUNE.replace("tempo 120", "tempo 120\ntempo 60 8")
        tune = ms.parse_tune(text, "small")
        self.assertEqual(tune.tempos, [(0, 120), (7, 60)])
        self.assertAlmostEqual(tune.seconds(), 14.0 + 4.0)
        _, _, tracks = read_midi(ms.midi_bytes(tune))
        tempos = [(e[0], int.from_bytes(e[2], "big")) for e in tracks[0]
                  if e[1] == ("meta", 0x51)]
        self.assertEqual(tempos, [(0, 500000), (7 * 384, 1000000)])
        with self.assertRaises(ms.TuneError):
            ms.parse_tune(SMALL_TUNE.replace("tempo 120", "tempo 60 2"))

    def test_parts_must_be_equally_long(self):
        with self.assertRaises(ms.TuneError):
            ms.parse_tune(SMALL_TUNE.replace("form beat*8", "form beat*7"))

    def test_copies_wrap_round_the_end(self):
        text = SMALL_TUNE + "\npart echo\nprogram 73 flute\nchannel 3\n" \
            "copy melody\ndelay 2\nlevel 0.5\n"
        tune = ms.parse_tune(text, "small")
        echo = tune.part("echo").notes
        self.assertEqual(echo[0].start, 0)      # the last bar's notes wrapped
        self.assertTrue(all(n.start + n.length <= tune.end for n in echo))
        self.assertEqual(len(echo), len(tune.part("melody").notes))

    def test_repeated_notes_are_released_before_they_restart(self):
        data = ms.track_chunk([(0, 5, b"\x90\x3c\x40"), (96, 5, b"\x90\x3c\x40"),
                               (96, 4, b"\x80\x3c\x40")], 192)
        _, _, tracks = read_midi(b"MThd" + struct.pack(">IHHH", 6, 1, 1, 96)
                                 + data)
        self.assertEqual([e[1] for e in tracks[0]],
                         [0x90, 0x80, 0x90, ("meta", 0x2F)])


class MidiDetails(unittest.TestCase):
    def test_variable_length(self):
        self.assertEqual(ms.variable_length(0), b"\x00")
        self.assertEqual(ms.variable_length(127), b"\x7f")
        self.assertEqual(ms.variable_length(128), b"\x81\x00")
        self.assertEqual(ms.variable_length(0x3FFF), b"\xff\x7f")

    def test_running_status_leaves_out_repeated_status_bytes(self):
        data = ms.track_chunk([(0, 5, b"\x90\x3c\x40"), (0, 5, b"\x90\x40\x40"),
                               (96, 4, b"\x80\x3c\x40"),
                               (96, 4, b"\x80\x40\x40"),
                               (96, 6, ms.meta(0x01, b"x")),
                               (96, 7, b"\x80\x43\x40")], 96)
        self.assertEqual(data[8:], b"\x00\x90\x3c\x40" b"\x00\x40\x40"
                         b"\x60\x80\x3c\x40" b"\x00\x40\x40"
                         b"\x00\xff\x01\x01x" b"\x00\x80\x43\x40"
                         b"\x00\xff\x2f\x00")
        _, _, tracks = read_midi(b"MThd" + struct.pack(">IHHH", 6, 1, 1, 96)
                                 + data)
        self.assertEqual([(e[0], e[1]) for e in tracks[0]],
                         [(0, 0x90), (0, 0x90), (96, 0x80), (96, 0x80),
                          (96, ("meta", 0x01)), (96, 0x80),
                          (96, ("meta", 0x2F))])

    def test_key_signatures(self):
        self.assertEqual(ms.key_signature("C major"), (0, 0))
        self.assertEqual(ms.key_signature("F# harmonic"), (3, 1))
        self.assertEqual(ms.key_signature("Eb major"), (-3, 0))
        self.assertEqual(ms.key_signature("E dorian"), (2, 1))
        self.assertEqual(ms.key_signature("G minor"), (-2, 1))


class GameTunes(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tunes = {name: ms.load_tune(name) for name in ms.TRACK_NAMES}

    def test_every_tune_is_a_whole_number_of_bars(self):
        for name, tune in self.tunes.items():
            _, _, tracks = read_midi(ms.midi_bytes(tune))
            ends = {events[-1][0] for events in tracks}
            self.assertEqual(ends, {tune.end}, name)
            self.assertEqual(tune.end % tune.bar_ticks, 0, name)
            self.assertTrue(8 <= tune.bars <= 32, name)

    def test_looping_tunes_sound_up_to_the_bar_line(self):
        for name, tune in self.tunes.items():
            _, _, tracks = read_midi(ms.midi_bytes(tune))
            offs = [e[0] for events in tracks for e in events
                    if not isinstance(e[1], tuple) and e[1] & 0xF0 == 0x80]
            self.assertLessEqual(max(offs), tune.end, name)
            self.assertGreater(max(offs), tune.end - ms.PPQ // 4, name)

    def test_melody_bass_and_drums(self):
        for name, tune in self.tunes.items():
            drums = [p for p in tune.parts if p.drums]
            self.assertEqual(len(drums), 1, name)
            self.assertTrue(drums[0].notes, name)
            melodic = [p for p in tune.parts if not p.drums]
            self.assertGreaterEqual(len(melodic), 3, name)

    def test_game_over_is_short_and_does_not_loop(self):
        tune = self.tunes["game_over"]
        self.assertFalse(tune.loop)
        self.assertTrue(4.0 <= tune.seconds() <= 6.0)
        looping = [n for n, t in self.tunes.items() if t.loop]
        self.assertEqual(len(looping), 12)

    def test_tunes_differ_in_key_and_tempo(self):
        keys = [t.key for t in self.tunes.values()]
        tempos = [t.tempos[0][1] for t in self.tunes.values()]
        self.assertEqual(len(set(keys)), len(keys))
        self.assertEqual(len(set(tempos)), len(tempos))

    def test_files_are_small(self):
        # 24 bars with sixteenth-note hats is the busiest we write.
        for name, tune in self.tunes.items():
            self.assertLess(len(ms.midi_bytes(tune)), 10240, name)

    def test_looping_tunes_last_at_least_half_a_minute(self):
        for name, tune in self.tunes.items():
            if tune.loop:
                self.assertGreaterEqual(tune.seconds(), 30.0, name)


class Synthesis(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.effects = {name: ms.effect_samples(name) for name in ms.EFFECTS}

    def test_own_sine_and_exponential_are_accurate(self):
        for i in range(-200, 200):
            x = i * 0.173
            self.assertAlmostEqual(ms.dsin(x), math.sin(x), places=9)
            self.assertAlmostEqual(ms.dexp(x / 20) / math.exp(x / 20), 1.0,
                                   places=12)

    def test_every_effect_is_short_and_starts_and_ends_silent(self):
        self.assertEqual(len(self.effects), 14)
        for name, samples in self.effects.items():
            self.assertLessEqual(len(samples), 1.0 * ms.RATE, name)
            self.assertGreater(len(samples), 0.1 * ms.RATE, name)
            self.assertEqual(samples[0], 0, name)
            self.assertEqual(samples[-1], 0, name)
            self.assertLessEqual(max(abs(v) for v in samples), 32767, name)

    def test_effects_are_about_equally_loud(self):
        levels = {name: ms.loudness([v / 32767 for v in samples])
                  for name, samples in self.effects.items()}
        for name, level in levels.items():
            decibels = 20 * math.log10(level / ms.TARGET_LOUDNESS)
            self.assertGreater(decibels, -6.0, name)
            self.assertLess(decibels, 1.0, name)

    def test_the_same_effect_comes_out_the_same(self):
        self.assertEqual(ms.effect_samples("hit"), self.effects["hit"])

    def test_wav_header(self):
        data = ms.wav_bytes([0, 1000, -1000])
        fields = struct.unpack("<4sI4s4sIHHIIHH4sI", data[:44])
        self.assertEqual(fields[0], b"RIFF")
        self.assertEqual(fields[1], len(data) - 8)
        self.assertEqual(fields[5:11], (1, 1, 22050, 44100, 2, 16))
        self.assertEqual(fields[12], 6)
        self.assertEqual(struct.unpack("<3h", data[44:]), (0, 1000, -1000))


class Documentation(unittest.TestCase):
    def test_the_tables_in_the_docs_are_up_to_date(self):
        path = os.path.join(ms.REPOSITORY, "docs", "sounds.md")
        with open(path) as doc:
            self.assertIn(ms.tables(), doc.read())


class Checking(unittest.TestCase):
    def test_check_spots_a_changed_file(self):
        folder = tempfile.mkdtemp()
        report = io.StringIO()
        try:
            ms.write_files(ms.build_all(), folder)
            with contextlib.redirect_stdout(report):
                self.assertEqual(ms.check(folder), 0)
            path = os.path.join(folder, ms.EFFECT_FOLDER, "pause.wav")
            with open(path, "r+b") as wav:
                wav.seek(100)
                wav.write(b"\x01\x02")
            with contextlib.redirect_stdout(report):
                self.assertEqual(ms.check(folder), 1)
                os.remove(path)
                self.assertEqual(ms.check(folder), 1)
            self.assertIn("differs: sound_effects/pause.wav", report.getvalue())
        finally:
            shutil.rmtree(folder)


if __name__ == "__main__":
    unittest.main()
