#!/usr/bin/env python3
"""Builds every tune and sound effect of Bluejay.

The tunes are written as note lists in tools/music/*.tune and become
Standard MIDI Files in data/sounds/music_tracks. The sound effects are
described by the recipes in EFFECTS below and are synthesised into 16-bit
mono WAV files in data/sounds/sound_effects.

    python3 tools/make_sounds.py            write data/sounds
    python3 tools/make_sounds.py --check    rebuild in a temporary folder and
                                            compare with data/sounds
    python3 tools/make_sounds.py --table    print the tables of docs/sounds.md

Only the standard library is used, and the output is the same byte for byte
on every run: the MIDI files are pure integer work, and the synthesis uses
its own sine and exponential (plain additions and multiplications, which
behave the same on every machine) and a fixed noise seed.
"""

import argparse
import math
import os
import random
import re
import shutil
import struct
import sys
import tempfile

TOOLS = os.path.dirname(os.path.abspath(__file__))
REPOSITORY = os.path.dirname(TOOLS)
MUSIC_SOURCES = os.path.join(TOOLS, "music")
SOUNDS = os.path.join(REPOSITORY, "data", "sounds")
MUSIC_FOLDER = "music_tracks"
EFFECT_FOLDER = "sound_effects"

# The game loads these, in this order.
TRACK_NAMES = [
    "athletic_theme", "here_we_go", "hurry_hurry", "zemblo_3", "underworld",
    "ghost", "new_zemblo_saga", "battle", "old_zemblo_saga", "sewers",
    "game_over", "title_screen", "victory",
]

# ---------------------------------------------------------------------------
# Tunes
# ---------------------------------------------------------------------------

PPQ = 96                      # ticks per quarter note
DRUM_CHANNEL = 9              # General MIDI percussion: channel 10
MIN_BARS, MAX_BARS = 8, 32

PITCH_CLASSES = {"c": 0, "d": 2, "e": 4, "f": 5, "g": 7, "a": 9, "b": 11}

# General MIDI percussion notes by the names used in drum patterns.
DRUMS = {
    "kick": 36, "kick2": 35, "snare": 38, "snare2": 40, "rim": 37,
    "clap": 39, "hat": 42, "pedalhat": 44, "openhat": 46, "crash": 49,
    "crash2": 57, "ride": 51, "ridebell": 53, "splash": 55, "china": 52,
    "tamb": 54, "cowbell": 56, "vibraslap": 58, "tomfloor": 41,
    "tomlow": 45, "tommid": 47, "tomhigh": 50, "bongohigh": 60,
    "bongolow": 61, "congahigh": 62, "congalow": 64, "timbalehigh": 65,
    "timbalelow": 66, "shaker": 70, "cabasa": 69, "claves": 75,
    "woodhigh": 76, "woodlow": 77, "triangle": 81, "mutetriangle": 80,
}

# Drum pattern letters: velocity of a hit, or None for silence.
DRUM_HITS = {".": None, "-": None, "o": 56, "x": 92, "X": 118}

# Key signatures: sharps (+) or flats (-) of the major key on each pitch
# class, and how far each mode's tonic sits above its major key's tonic.
MAJOR_SHARPS = {0: 0, 7: 1, 2: 2, 9: 3, 4: 4, 11: 5, 6: 6,
                1: -5, 8: -4, 3: -3, 10: -2, 5: -1}
MODES = {"major": (0, 0), "lydian": (5, 0), "mixolydian": (7, 0),
         "minor": (9, 1), "dorian": (2, 1), "phrygian": (4, 1),
         "harmonic": (9, 1)}

NOTE_VALUES = {"1": 4 * PPQ, "2": 2 * PPQ, "4": PPQ, "8": PPQ // 2,
               "16": PPQ // 4, "32": PPQ // 8}

TOKEN = re.compile(
    r"(?P<pitches>r|[a-g][#b]?-?\d(?:/[a-g][#b]?-?\d)*)"
    r"(?::(?P<duration>[0-9.t+]+))?(?P<marks>[!?~]*)$")


# A comment starts with '#' at the start of a line or after a space, so
# sharps such as f#5 are left alone.
COMMENT = re.compile(r"(^|\s)#.*")


class TuneError(Exception):
    """A mistake in a tune file, with the file and line it was found on."""


class Note:
    __slots__ = ("start", "length", "pitch", "velocity")

    def __init__(self, start, length, pitch, velocity):
        self.start = start
        self.length = length
        self.pitch = pitch
        self.velocity = velocity

    def __repr__(self):
        return "Note(%d, %d, %d, %d)" % (self.start, self.length,
                                         self.pitch, self.velocity)


class Part:
    def __init__(self, name, drums=False):
        self.name = name
        self.drums = drums
        self.channel = DRUM_CHANNEL if drums else 0
        self.program = None
        self.instrument = "drum kit" if drums else ""
        self.volume = 100
        self.pan = 64
        self.velocity = 90
        self.gate = 0.9
        self.transpose = 0
        self.steps = None
        self.copy_of = None
        self.delay = 0
        self.level = 1.0
        self.sections = {}
        self.form = []
        self.notes = []


class Tune:
    def __init__(self, name):
        self.name = name
        self.title = name
        self.mood = ""
        self.tempos = []          # (bar index from 0, beats per minute)
        self.numerator = 4
        self.denominator = 4
        self.key = "C major"
        self.loop = True
        self.swing = None
        self.gain = 1.0           # scales every part's volume, to even out tunes
        self.parts = []
        self.bars = 0

    @property
    def bar_ticks(self):
        return self.numerator * 4 * PPQ // self.denominator

    @property
    def end(self):
        return self.bars * self.bar_ticks

    def part(self, name):
        for part in self.parts:
            if part.name == name:
                return part
        raise KeyError(name)

    def seconds(self):
        """Playing time of the whole tune, following its tempo changes."""
        total = 0.0
        changes = self.tempos + [(self.bars, None)]
        for (bar, bpm), (next_bar, _) in zip(changes, changes[1:]):
            beats = (next_bar - bar) * self.bar_ticks / PPQ
            total += beats * 60.0 / bpm
        return total


def parse_pitch(text):
    """'c4' is middle C (60); '#' raises and 'b' lowers by a semitone."""
    match = re.fullmatch(r"([a-g])([#b]?)(-?\d)", text)
    if not match:
        raise ValueError("bad pitch %r" % text)
    letter, accidental, octave = match.groups()
    pitch = 12 * (int(octave) + 1) + PITCH_CLASSES[letter]
    pitch += {"#": 1, "b": -1, "": 0}[accidental]
    if not 0 <= pitch <= 127:
        raise ValueError("pitch %r out of range" % text)
    return pitch


def parse_duration(text):
    """Length in ticks of '4' (quarter), '8.' (dotted eighth), '8t'
    (triplet eighth), '2+8' (tied values) and so on."""
    total = 0
    for piece in text.split("+"):
        match = re.fullmatch(r"(1|2|4|8|16|32)(\.{0,2})(t?)", piece)
        if not match:
            raise ValueError("bad duration %r" % text)
        value, dots, triplet = match.groups()
        base = NOTE_VALUES[value]
        ticks = base + sum(base >> (i + 1) for i in range(len(dots)))
        if triplet:
            ticks = ticks * 2 // 3
        total += ticks
    return total


def parse_melodic_bars(text, bar_ticks, where):
    """Turns the bars of a section ('c5:8 e5 g5:4 ... | ...') into a list of
    bars, each a list of (pitches, ticks, accent, tie). A missing duration
    repeats the one before; every bar must be exactly full."""
    bars = []
    duration = PPQ
    for number, bar_text in enumerate(b for b in text.split("|") if b.strip()):
        events = []
        for token in bar_text.split():
            match = TOKEN.match(token)
            if not match:
                raise TuneError("%s: bad note %r" % (where, token))
            if match.group("duration"):
                try:
                    duration = parse_duration(match.group("duration"))
                except ValueError as error:
                    raise TuneError("%s: %s" % (where, error))
            pitch_text = match.group("pitches")
            pitches = () if pitch_text == "r" else tuple(
                parse_pitch(p) for p in pitch_text.split("/"))
            marks = match.group("marks")
            accent = 20 * marks.count("!") - 25 * marks.count("?")
            events.append((pitches, duration, accent, "~" in marks))
        filled = sum(event[1] for event in events)
        if filled != bar_ticks:
            raise TuneError("%s, bar %d: %d ticks instead of %d (%s)" % (
                where, number + 1, filled, bar_ticks, bar_text.strip()))
        bars.append(events)
    if not bars:
        raise TuneError("%s: empty section" % where)
    return bars


def parse_drum_bars(lines, steps, bar_ticks, where):
    """A drum section is one line per instrument: a name and a grid of
    hits, one letter per step, '|' between bars for the reader's eye.
    Returns bars of (offset, drum note, velocity)."""
    if bar_ticks % steps:
        raise TuneError("%s: %d steps do not divide a bar" % (where, steps))
    step = bar_ticks // steps
    grids = []
    for line in lines:
        name, _, grid = line.partition(" ")
        if name not in DRUMS:
            raise TuneError("%s: unknown drum %r" % (where, name))
        grid = grid.replace("|", "").replace(" ", "")
        if not grid or len(grid) % steps or any(c not in DRUM_HITS
                                                for c in grid):
            raise TuneError("%s: bad grid for %s" % (where, name))
        grids.append((DRUMS[name], grid))
    count = len(grids[0][1]) // steps
    if any(len(grid) != count * steps for _, grid in grids):
        raise TuneError("%s: grids of different lengths" % where)
    bars = []
    for bar in range(count):
        hits = []
        for note, grid in grids:
            for position in range(steps):
                velocity = DRUM_HITS[grid[bar * steps + position]]
                if velocity is not None:
                    hits.append((position * step, note, velocity))
        bars.append(hits)
    return bars


def expand_form(words, sections, where):
    """'A B*2 C' becomes the bars of A, then B twice, then C."""
    bars = []
    for word in words:
        name, _, times = word.partition("*")
        if name not in sections:
            raise TuneError("%s: form names unknown section %r" % (where, name))
        bars.extend(sections[name] * (int(times) if times else 1))
    return bars


def swing_tick(tick, swing):
    """Moves off-beat eighths later: with swing (2, 3) the 'and' of every
    beat falls two thirds of the way through it, so straight eighths bounce."""
    if swing is None:
        return tick
    beat, inside = divmod(tick, PPQ)
    numerator, denominator = swing
    long_part = PPQ * numerator // denominator
    half = PPQ // 2
    if inside <= half:
        inside = inside * long_part // half
    else:
        inside = long_part + (inside - half) * (PPQ - long_part) // half
    return beat * PPQ + inside


def build_notes(tune, part, bars):
    """Lays the bars of a part end to end as notes, joining tied notes."""
    notes = []
    tick = 0
    if part.drums:
        length = max(1, min(PPQ // 4, tune.bar_ticks // part.steps // 2))
        for hits in bars:
            for offset, note, velocity in hits:
                notes.append(Note(tick + offset, length, note, velocity))
            tick += tune.bar_ticks
    else:
        tied = {}
        for events in bars:
            for pitches, ticks, accent, tie in events:
                velocity = max(1, min(127, part.velocity + accent))
                for pitch in pitches:
                    pitch += part.transpose
                    held = tied.pop(pitch, None)
                    if held is not None and held.start + held.length == tick:
                        held.length += ticks
                        note = held
                    else:
                        note = Note(tick, ticks, pitch, velocity)
                        notes.append(note)
                    if tie:
                        tied[pitch] = note
                tick += ticks
    for note in notes:
        start = swing_tick(note.start, tune.swing)
        stop = swing_tick(note.start + note.length, tune.swing)
        if not part.drums:
            stop = start + max(1, int((stop - start) * part.gate + 0.5))
        note.start, note.length = start, stop - start
    return notes


def copy_notes(tune, part, source):
    """An echo or doubling of another part: shifted later, transposed and
    softer. Notes pushed past the end wrap round to the start, so the copy
    loops as cleanly as the part it copies."""
    notes = []
    for note in source.notes:
        start = note.start + part.delay
        if start >= tune.end:
            start -= tune.end
        length = min(note.length, tune.end - start)
        velocity = max(1, min(127, int(note.velocity * part.level + 0.5)))
        pitch = note.pitch + part.transpose
        if 0 <= pitch <= 127:
            notes.append(Note(start, length, pitch, velocity))
    notes.sort(key=lambda n: (n.start, n.pitch))
    return notes


def parse_tune(text, name="tune"):
    """Reads a tune file: header lines, then parts, each with settings,
    sections and a form. A '#' after a space starts a comment."""
    tune = Tune(name)
    part = None
    section = None         # (name, first line number, lines)

    def where(line_number):
        return "%s.tune line %d" % (name, line_number)

    def close_section():
        nonlocal section
        if section is None:
            return
        title, line_number, lines = section
        label = "%s (section %s)" % (where(line_number), title)
        if part.drums:
            bars = parse_drum_bars(lines, part.steps, tune.bar_ticks, label)
        else:
            bars = parse_melodic_bars(" ".join(lines), tune.bar_ticks, label)
        part.sections[title] = bars
        section = None

    for line_number, raw in enumerate(text.splitlines(), 1):
        line = COMMENT.sub("", raw).strip()
        if not line:
            continue
        word, _, rest = line.partition(" ")
        rest = rest.strip()
        try:
            if word in ("part", "drums"):
                close_section()
                part = Part(rest, drums=(word == "drums"))
                if part.drums:
                    part.steps = tune.bar_ticks // (PPQ // 4)
                tune.parts.append(part)
            elif part is None:
                if word == "title":
                    tune.title = rest
                elif word == "mood":
                    tune.mood = rest
                elif word == "tempo":
                    values = rest.split()        # beats a minute [from bar]
                    bar = int(values[1]) - 1 if len(values) == 2 else 0
                    tune.tempos.append((bar, int(values[0])))
                elif word == "time":
                    numerator, denominator = rest.split("/")
                    tune.numerator = int(numerator)
                    tune.denominator = int(denominator)
                elif word == "key":
                    tune.key = rest
                elif word == "loop":
                    tune.loop = rest == "yes"
                elif word == "gain":
                    tune.gain = float(rest)
                elif word == "swing":
                    numerator, denominator = rest.split("/")
                    tune.swing = (int(numerator), int(denominator))
                else:
                    raise TuneError("%s: unknown setting %r" % (
                        where(line_number), word))
            elif word == "section":
                close_section()
                section = (rest, line_number, [])
            elif word == "form":
                close_section()
                part.form.extend(rest.split())
            elif section is not None:
                section[2].append(line)
            elif word == "program":
                number, _, label = rest.partition(" ")
                part.program = int(number)
                part.instrument = label.strip()
            elif word in ("channel", "volume", "pan", "velocity", "transpose",
                          "steps"):
                setattr(part, word, int(rest))
            elif word in ("gate", "level"):
                setattr(part, word, float(rest))
            elif word == "copy":
                part.copy_of = rest
            elif word == "delay":
                part.delay = parse_duration(rest)
            else:
                raise TuneError("%s: unknown part setting %r" % (
                    where(line_number), word))
        except (ValueError, IndexError) as error:
            raise TuneError("%s: %s" % (where(line_number), error))
    if part is not None:
        close_section()

    tune.tempos.sort()
    bars_with_tempo = [bar for bar, _ in tune.tempos]
    if bars_with_tempo[:1] != [0] or len(set(bars_with_tempo)) != len(
            bars_with_tempo):
        raise TuneError("%s: one starting tempo, then one per bar" % name)
    lengths = {}
    for part in tune.parts:
        if part.copy_of is None:
            bars = expand_form(part.form, part.sections,
                               "%s, part %s" % (name, part.name))
            lengths[part.name] = len(bars)
            part.bars = bars
    if not lengths:
        raise TuneError("%s: no parts" % name)
    if len(set(lengths.values())) != 1:
        raise TuneError("%s: parts of different lengths %s" % (name, lengths))
    tune.bars = lengths.popitem()[1]
    if not MIN_BARS <= tune.bars <= MAX_BARS:
        raise TuneError("%s: %d bars" % (name, tune.bars))
    for part in tune.parts:
        if part.copy_of is None:
            part.notes = build_notes(tune, part, part.bars)
    for part in tune.parts:
        if part.copy_of is not None:
            try:
                source = tune.part(part.copy_of)
            except KeyError:
                raise TuneError("%s: %s copies unknown part %r" % (
                    name, part.name, part.copy_of))
            part.notes = copy_notes(tune, part, source)
    check_tune(tune)
    return tune


def check_tune(tune):
    """The game plays a looping tune from its start again as soon as it
    ends, so nothing may sound past the last bar line, and the last bar
    must sound to its final beat so there is no gap before the restart."""
    channels = [part.channel for part in tune.parts]
    if len(set(channels)) != len(channels):
        raise TuneError("%s: two parts share a channel" % tune.name)
    last_stop = 0
    for part in tune.parts:
        if part.drums != (part.channel == DRUM_CHANNEL):
            raise TuneError("%s: only drums go on channel 10" % tune.name)
        if not part.drums and part.program is None:
            raise TuneError("%s: part %s has no program" % (tune.name,
                                                             part.name))
        for note in part.notes:
            if note.start < 0 or note.start + note.length > tune.end:
                raise TuneError("%s: part %s sounds past the end" % (
                    tune.name, part.name))
            last_stop = max(last_stop, note.start + note.length)
    if last_stop <= tune.end - PPQ:
        raise TuneError("%s: silent final beat" % tune.name)


def key_signature(key):
    """'F# minor' -> (3, 1): sharps or flats, and 1 for a minor key."""
    words = key.split()
    tonic = PITCH_CLASSES[words[0][0].lower()]
    tonic += {"#": 1, "b": -1}.get(words[0][1:], 0)
    offset, minor = MODES[words[1]]
    return MAJOR_SHARPS[(tonic - offset) % 12], minor


def variable_length(value):
    """MIDI variable-length quantity: 7 bits a byte, high bit = more."""
    data = [value & 0x7F]
    value >>= 7
    while value:
        data.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(data))


def track_chunk(events, end):
    """events: (tick, order, bytes). At one tick, settings come before
    note-offs and note-offs before note-ons, so a repeated note is not cut
    short; the end-of-track marker lands exactly on 'end'. A channel message
    with the same status byte as the one before leaves it out (running
    status), which keeps the files small; a meta event ends the run."""
    data = bytearray()
    now = 0
    running = None
    for tick, _, message in sorted(events, key=lambda e: (e[0], e[1], e[2])):
        status = message[0]
        if status == running:
            message = message[1:]
        running = status if status < 0xF0 else None
        data += variable_length(tick - now) + message
        now = tick
    data += variable_length(end - now) + b"\xff\x2f\x00"
    return b"MTrk" + struct.pack(">I", len(data)) + bytes(data)


def meta(kind, payload):
    return bytes([0xFF, kind]) + variable_length(len(payload)) + payload


def midi_bytes(tune):
    """A format 1 file: a conductor track with the tempo, metre and key,
    then one track per part."""
    conductor = [(0, 0, meta(0x03, tune.title.encode("ascii")))]
    log2_denominator = tune.denominator.bit_length() - 1
    clocks = 24 * 4 // tune.denominator
    conductor.append((0, 1, meta(0x58, bytes([tune.numerator,
                                              log2_denominator, clocks, 8]))))
    sharps, minor = key_signature(tune.key)
    conductor.append((0, 2, meta(0x59, bytes([sharps & 0xFF, minor]))))
    for bar, bpm in tune.tempos:
        microseconds = 60000000 // bpm
        conductor.append((bar * tune.bar_ticks, 3,
                          meta(0x51, microseconds.to_bytes(3, "big"))))
    chunks = [track_chunk(conductor, tune.end)]
    for part in tune.parts:
        channel = part.channel
        events = [(0, 0, meta(0x03, part.name.encode("ascii")))]
        if part.program is not None:
            events.append((0, 1, bytes([0xC0 | channel, part.program])))
        volume = max(0, min(127, int(part.volume * tune.gain + 0.5)))
        events.append((0, 2, bytes([0xB0 | channel, 7, volume])))
        events.append((0, 3, bytes([0xB0 | channel, 10, part.pan])))
        for note in part.notes:
            events.append((note.start, 5, bytes([0x90 | channel, note.pitch,
                                                 note.velocity])))
            events.append((note.start + note.length, 4,
                           bytes([0x80 | channel, note.pitch, 64])))
        chunks.append(track_chunk(events, tune.end))
    header = b"MThd" + struct.pack(">IHHH", 6, 1, len(chunks), PPQ)
    return header + b"".join(chunks)


def load_tune(name):
    with open(os.path.join(MUSIC_SOURCES, name + ".tune")) as source:
        return parse_tune(source.read(), name)


# ---------------------------------------------------------------------------
# Sound effects
# ---------------------------------------------------------------------------

RATE = 22050
PI = 3.141592653589793
TAU = 2.0 * PI
LN2 = 0.6931471805599453
MAX_SECONDS = 1.0             # an effect is a moment, never a phrase


def dsin(x):
    """Sine from additions and multiplications only (error below 1e-10)."""
    x -= TAU * math.floor(x / TAU + 0.5)
    if x > PI / 2:
        x = PI - x
    elif x < -PI / 2:
        x = -PI - x
    y = x * x
    return x * (1 - y / 6 * (1 - y / 20 * (1 - y / 42 * (1 - y / 72 * (
        1 - y / 110 * (1 - y / 156 * (1 - y / 210 * (1 - y / 272))))))))


def dexp(x):
    """e**x from additions and multiplications only."""
    if x < -700:
        return 0.0
    k = math.floor(x / LN2 + 0.5)
    r = x - k * LN2
    total = 1.0
    for n in range(13, 0, -1):
        total = 1.0 + total * r / n
    return math.ldexp(total, int(k))


def semitones(n):
    return dexp(n * LN2 / 12.0)


def poly_blep(phase, step):
    """Softens the jump of a saw or square wave to keep it from aliasing."""
    if phase < step:
        t = phase / step
        return t + t - t * t - 1.0
    if phase > 1.0 - step:
        t = (phase - 1.0) / step
        return t * t + t + t + 1.0
    return 0.0


def oscillator(wave, phase, step, duty, noise):
    if wave == "sine":
        return dsin(TAU * phase)
    if wave == "triangle":
        return 4.0 * abs(phase - 0.5) - 1.0
    if wave == "saw":
        return 2.0 * phase - 1.0 - poly_blep(phase, step)
    if wave == "square":
        value = 1.0 if phase < duty else -1.0
        value += poly_blep(phase, step)
        other = phase - duty + (1.0 if phase < duty else 0.0)
        return value - poly_blep(other, step)
    if wave == "noise":
        return noise.random() * 2.0 - 1.0
    raise ValueError(wave)


def render_layer(layer, noise):
    """One voice of an effect, as a list of samples. A layer is a dict:
    wave, at and dur (seconds), freq (Hz) and glide (semitones over the
    layer, shaped by curve), vibrato (rate Hz, depth semitones, grows),
    tremolo (rate Hz, depth), attack and release (seconds), decay (time
    constant in seconds), amp, duty, lowpass/highpass (Hz), hold (keep a
    noise value for so many samples, for grit), steps (quantise the glide
    into so many notes), drive (soft clipping)."""
    count = int(layer["dur"] * RATE)
    freq = layer.get("freq", 440.0)
    glide = layer.get("glide", 0.0)
    curve = layer.get("curve", 1.0)
    steps = layer.get("steps")
    vib_rate, vib_depth, vib_grows = layer.get("vibrato", (0.0, 0.0, False))
    trem_rate, trem_depth = layer.get("tremolo", (0.0, 0.0))
    attack = max(1, int(layer.get("attack", 0.003) * RATE))
    release = max(1, int(layer.get("release", 0.01) * RATE))
    decay = layer.get("decay")
    amp = layer.get("amp", 1.0)
    duty = layer.get("duty", 0.5)
    hold = layer.get("hold", 1)
    wave = layer["wave"]
    lowpass = layer.get("lowpass")
    highpass = layer.get("highpass")
    low_k = 1.0 - dexp(-TAU * lowpass / RATE) if lowpass else None
    high_k = 1.0 - dexp(-TAU * highpass / RATE) if highpass else None
    low1 = low2 = high = 0.0
    phase = 0.0
    held = 0.0
    out = []
    for i in range(count):
        t = i / RATE
        progress = i / count
        shape = progress ** curve if curve != 1.0 else progress
        if steps:
            shape = math.floor(shape * steps) / steps
        bend = glide * shape
        if vib_depth:
            depth = vib_depth * (progress if vib_grows else 1.0)
            bend += depth * dsin(TAU * vib_rate * t)
        step = freq * semitones(bend) / RATE
        if wave == "noise":
            if i % hold == 0:
                held = oscillator("noise", 0, 0, 0, noise)
            value = held
        else:
            value = oscillator(wave, phase, step, duty, noise)
        phase += step
        phase -= math.floor(phase)
        if low_k is not None:
            low1 += low_k * (value - low1)
            low2 += low_k * (low1 - low2)
            value = low2
        if high_k is not None:
            high += high_k * (value - high)
            value -= high
        level = amp
        if i < attack:
            level *= i / attack
        if count - i < release:
            level *= (count - i) / release
        if decay:
            level *= dexp(-t / decay)
        if trem_depth:
            level *= 1.0 - trem_depth * 0.5 * (1.0 - dsin(TAU * trem_rate * t))
        out.append(value * level)
    drive = layer.get("drive")
    if drive:
        out = [drive * v / (1.0 + abs(drive * v)) for v in out]
    return out


def mix(layers, seed):
    noise = random.Random(seed)
    length = max(int((layer.get("at", 0.0) + layer["dur"]) * RATE)
                 for layer in layers)
    total = [0.0] * length
    for layer in layers:
        start = int(layer.get("at", 0.0) * RATE)
        for i, value in enumerate(render_layer(layer, noise)):
            total[start + i] += value
    return total


def loudness(samples):
    """Loudest 50 ms stretch, weighted roughly as the ear hears: deep
    sounds count less (a cut below 150 Hz) and the bright presence range
    more (a 4 dB lift above 1.5 kHz)."""
    low_k = 1.0 - dexp(-TAU * 150.0 / RATE)
    shelf_k = 1.0 - dexp(-TAU * 1500.0 / RATE)
    low = shelf = 0.0
    filtered = []
    for value in samples:
        low += low_k * (value - low)
        value -= low
        shelf += shelf_k * (value - shelf)
        filtered.append(value + 0.585 * (value - shelf))
    window = RATE // 20
    best = 0.0
    for start in range(0, max(1, len(filtered) - window + 1), window // 4):
        chunk = filtered[start:start + window]
        best = max(best, sum(v * v for v in chunk) / len(chunk))
    return best ** 0.5


def remove_offset(samples):
    """Takes out any steady offset (a narrow pulse wave has one), which
    would only waste headroom and thump when the sound starts."""
    k = 1.0 - dexp(-TAU * 20.0 / RATE)
    low = 0.0
    result = []
    for value in samples:
        low += k * (value - low)
        result.append(value - low)
    return result


TARGET_LOUDNESS = 0.25
PEAK = 0.95
FADE_IN = 0.002
FADE_OUT = 0.012


def finish(samples):
    """Levels an effect to the common loudness (without letting its peak
    clip) and fades both ends so it starts and stops without a click."""
    samples = remove_offset(samples)
    peak = max(abs(v) for v in samples) or 1.0
    gain = min(TARGET_LOUDNESS / (loudness(samples) or 1.0), PEAK / peak)
    fade_in = int(FADE_IN * RATE)
    fade_out = int(FADE_OUT * RATE)
    count = len(samples)
    result = []
    for i, value in enumerate(samples):
        value *= gain
        if i < fade_in:
            value *= i / fade_in
        if count - 1 - i < fade_out:
            value *= (count - 1 - i) / fade_out
        result.append(max(-32767, min(32767, int(round(value * 32767)))))
    return result


def wav_bytes(samples):
    data = struct.pack("<%dh" % len(samples), *samples)
    header = struct.pack("<4sI4s4sIHHIIHH4sI", b"RIFF", 36 + len(data),
                         b"WAVE", b"fmt ", 16, 1, 1, RATE, RATE * 2, 2, 16,
                         b"data", len(data))
    return header + data


def chirp(at, low, high, dur=0.07, amp=0.8):
    """One bird chirp: a quick swoop up and over."""
    return [
        dict(wave="sine", at=at, dur=dur, freq=low, glide=high, curve=0.5,
             vibrato=(60.0, 0.6, False), attack=0.004, release=0.025,
             amp=amp),
        dict(wave="sine", at=at, dur=dur, freq=low * 2, glide=high,
             curve=0.5, attack=0.004, release=0.02, amp=amp * 0.15),
    ]


def arpeggio(notes, start, gap, dur, wave, amp, decay):
    return [dict(wave=wave, at=start + n * gap, dur=dur, freq=freq,
                 attack=0.002, decay=decay, release=0.03, amp=amp)
            for n, freq in enumerate(notes)]


def note_hz(name):
    return 440.0 * semitones(parse_pitch(name) - 69)


# Recipes: (seed, layers). Times in seconds, pitches in Hz and semitones.
EFFECTS = {
    # A startled yelp (two quick notes up), then a sad slide down two
    # octaves with a slow warble that widens as it falls.
    "bluejay_dies": (1, [
        dict(wave="square", dur=0.07, freq=note_hz("b5"), duty=0.3,
             attack=0.003, release=0.015, lowpass=4000.0, amp=0.55),
        dict(wave="square", at=0.07, dur=0.09, freq=note_hz("e6"), glide=1.0,
             duty=0.3, attack=0.003, release=0.02, lowpass=4000.0, amp=0.55),
        dict(wave="square", at=0.2, dur=0.75, freq=660.0, glide=-24.0,
             curve=0.8, duty=0.3, vibrato=(6.0, 1.5, True), attack=0.01,
             release=0.2, lowpass=3000.0, amp=0.6),
        dict(wave="triangle", at=0.2, dur=0.75, freq=330.0, glide=-24.0,
             curve=0.8, vibrato=(6.0, 1.5, True), attack=0.01, release=0.2,
             amp=0.5),
    ]),
    # The squash of the creature, then a blip rising as the hero bounces.
    "damaging_stomp": (2, [
        dict(wave="noise", dur=0.09, lowpass=1800.0, decay=0.03, amp=1.2),
        dict(wave="sine", dur=0.12, freq=190.0, glide=-14.0, decay=0.05,
             amp=1.0),
        dict(wave="square", at=0.08, dur=0.16, freq=520.0, glide=12.0,
             curve=0.6, duty=0.25, decay=0.09, release=0.03,
             lowpass=5000.0, amp=0.45),
    ]),
    # A bright rising arpeggio with a sparkle of high pings on top.
    "grab_egg": (3, arpeggio(
        [note_hz(n) for n in ("e5", "g#5", "b5", "e6", "g#6", "b6")],
        0.0, 0.055, 0.3, "triangle", 0.7, 0.12) + arpeggio(
        [note_hz(n) for n in ("b6", "e7", "g#7", "e7", "b7")],
        0.09, 0.07, 0.2, "sine", 0.25, 0.05) + [
        dict(wave="sine", at=0.33, dur=0.35, freq=note_hz("e7"),
             vibrato=(14.0, 0.25, False), decay=0.12, release=0.1, amp=0.3),
    ]),
    # The hero is hurt: a gritty falling buzz.
    "hit": (4, [
        dict(wave="saw", dur=0.28, freq=160.0, glide=-10.0, decay=0.12,
             release=0.05, drive=3.0, amp=0.9),
        dict(wave="square", dur=0.28, freq=113.0, glide=-10.0, duty=0.4,
             decay=0.1, release=0.05, amp=0.5),
        dict(wave="noise", dur=0.2, hold=6, decay=0.06, lowpass=4000.0,
             amp=0.7),
    ]),
    # A whining insect drifting past: thin, fast-fluttering, high.
    "mosquito": (5, [
        dict(wave="saw", dur=0.55, freq=620.0, glide=3.0, curve=1.0,
             vibrato=(7.0, 0.7, False), tremolo=(31.0, 0.55),
             attack=0.08, release=0.15, highpass=400.0, lowpass=4500.0,
             amp=0.7),
        dict(wave="saw", dur=0.55, freq=1247.0, glide=3.0,
             vibrato=(7.0, 0.7, False), tremolo=(31.0, 0.55),
             attack=0.08, release=0.15, lowpass=6000.0, amp=0.25),
    ]),
    # A dull, hollow knock: the creature shrugs the stomp off. The wooden
    # "tok" in the middle keeps it heard on small speakers.
    "useless_stomp": (6, [
        dict(wave="sine", dur=0.22, freq=150.0, glide=-5.0, decay=0.05,
             amp=1.0),
        dict(wave="sine", dur=0.18, freq=245.0, glide=-3.0, decay=0.035,
             amp=0.5),
        dict(wave="sine", dur=0.12, freq=410.0, glide=-4.0, decay=0.028,
             amp=0.5),
        dict(wave="triangle", dur=0.06, freq=620.0, glide=-2.0, decay=0.012,
             amp=0.15),
        dict(wave="noise", dur=0.04, lowpass=900.0, decay=0.01, amp=0.8),
    ]),
    # Down the pipe: a pulsing tone stepping down a note at a time.
    "warp": (7, [
        dict(wave="square", dur=0.95, freq=784.0, glide=-31.0, steps=16,
             duty=0.5, tremolo=(16.0, 0.85), vibrato=(5.0, 0.3, False),
             attack=0.005, release=0.2, lowpass=3500.0, amp=0.5),
        dict(wave="triangle", dur=0.95, freq=392.0, glide=-31.0, steps=16,
             tremolo=(16.0, 0.85), release=0.2, amp=0.6),
    ]),
    # Three quick chirps, the last one a little higher.
    "bird_chirp": (8, chirp(0.0, 2600.0, 7.0) + chirp(0.11, 2800.0, 7.0)
                   + chirp(0.24, 3000.0, 9.0, dur=0.09)),
    # Two soft bell tones, a fifth apart, going up.
    "pause": (9, [
        dict(wave="sine", dur=0.2, freq=note_hz("e6"), decay=0.08, amp=0.8),
        dict(wave="sine", dur=0.2, freq=note_hz("e6") * 2.76, decay=0.03,
             amp=0.2),
        dict(wave="sine", at=0.12, dur=0.3, freq=note_hz("b6"), decay=0.1,
             release=0.08, amp=0.8),
        dict(wave="sine", at=0.12, dur=0.3, freq=note_hz("b6") * 2.76,
             decay=0.03, amp=0.2),
    ]),
    # A plant shooting up: a bright sweep rising two octaves.
    "growing": (10, [
        dict(wave="square", dur=0.6, freq=220.0, glide=24.0, curve=0.7,
             duty=0.35, vibrato=(16.0, 0.5, False), attack=0.01,
             release=0.08, lowpass=4000.0, amp=0.55),
        dict(wave="triangle", dur=0.6, freq=440.0, glide=24.0, curve=0.7,
             vibrato=(16.0, 0.5, False), attack=0.01, release=0.08,
             amp=0.4),
    ]),
    # The same sweep falling back down.
    "shrinking": (11, [
        dict(wave="square", dur=0.6, freq=880.0, glide=-24.0, curve=0.7,
             duty=0.35, vibrato=(16.0, 0.5, False), attack=0.01,
             release=0.12, lowpass=4000.0, amp=0.55),
        dict(wave="triangle", dur=0.6, freq=1760.0, glide=-24.0,
             curve=0.7, vibrato=(16.0, 0.5, False), attack=0.01,
             release=0.12, amp=0.3),
    ]),
    # A spike slamming down: a deep, heavy boom, the slam of the pole in the
    # middle range and a crack on top.
    "thud": (12, [
        dict(wave="sine", dur=0.6, freq=95.0, glide=-16.0, curve=0.4,
             decay=0.16, release=0.1, drive=2.0, amp=1.0),
        dict(wave="noise", dur=0.12, lowpass=600.0, decay=0.03, amp=1.5),
        dict(wave="noise", dur=0.08, lowpass=1500.0, highpass=300.0,
             decay=0.02, amp=0.7),
        dict(wave="noise", dur=0.03, lowpass=5000.0, decay=0.008, amp=0.5),
    ]),
    # A bell rung: a bright strike and its ring, with the bell's uneven
    # overtones fading faster than the note.
    "checkpoint": (13, [
        dict(wave="sine", dur=0.9, freq=note_hz("g5"), decay=0.3,
             release=0.1, amp=0.8),
        dict(wave="sine", dur=0.7, freq=note_hz("g5") * 2.4, decay=0.15,
             amp=0.35),
        dict(wave="sine", dur=0.5, freq=note_hz("g5") * 3.9, decay=0.07,
             amp=0.2),
        dict(wave="sine", at=0.12, dur=0.8, freq=note_hz("d6"), decay=0.25,
             release=0.1, amp=0.5),
        dict(wave="noise", dur=0.02, lowpass=6000.0, decay=0.005, amp=0.4),
    ]),
    # Too tired to fly: two short low buzzes going down.
    "flight_refused": (14, [
        dict(wave="square", dur=0.07, freq=196.0, duty=0.3, attack=0.005,
             release=0.02, lowpass=2000.0, amp=0.45),
        dict(wave="square", at=0.09, dur=0.09, freq=147.0, duty=0.3,
             attack=0.005, release=0.03, lowpass=2000.0, amp=0.45),
    ]),
}


def effect_samples(name):
    seed, layers = EFFECTS[name]
    return finish(mix(layers, seed))


# ---------------------------------------------------------------------------
# Writing and checking
# ---------------------------------------------------------------------------

def build_all():
    """Every output file as {relative path: bytes}."""
    files = {}
    for name in TRACK_NAMES:
        files[MUSIC_FOLDER + "/" + name + ".mid"] = midi_bytes(load_tune(name))
    for name in EFFECTS:
        samples = effect_samples(name)
        if len(samples) > MAX_SECONDS * RATE:
            raise ValueError("%s is longer than %.1f s" % (name, MAX_SECONDS))
        files[EFFECT_FOLDER + "/" + name + ".wav"] = wav_bytes(samples)
    return files


def write_files(files, folder):
    for relative, data in sorted(files.items()):
        path = os.path.join(folder, *relative.split("/"))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as output:
            output.write(data)


def listing(folder):
    found = set()
    for sub in (MUSIC_FOLDER, EFFECT_FOLDER):
        path = os.path.join(folder, sub)
        if os.path.isdir(path):
            found.update(sub + "/" + name for name in os.listdir(path))
    return found


def differences(folder, other):
    """Files that differ between two sound folders, or that only one has."""
    names = listing(folder) | listing(other)
    different = []
    for relative in sorted(names):
        paths = [os.path.join(f, *relative.split("/")) for f in (folder, other)]
        if not all(os.path.isfile(p) for p in paths):
            different.append(relative)
            continue
        with open(paths[0], "rb") as a, open(paths[1], "rb") as b:
            if a.read() != b.read():
                different.append(relative)
    return different


def check(folder):
    scratch = tempfile.mkdtemp(prefix="bluejay_sounds_")
    try:
        write_files(build_all(), scratch)
        different = differences(folder, scratch)
    finally:
        shutil.rmtree(scratch)
    for relative in different:
        print("differs: " + relative)
    if different:
        print("%d file(s) differ from the sources; run tools/make_sounds.py"
              % len(different))
        return 1
    print("all %d sound files match their sources" % len(listing(folder)))
    return 0


def tables():
    """The track and effect tables of docs/sounds.md."""
    lines = ["| track | key | tempo | time | bars | length | instruments | mood |",
             "| --- | --- | --- | --- | --- | --- | --- | --- |"]
    for name in TRACK_NAMES:
        tune = load_tune(name)
        tempo = " / ".join(str(bpm) for _, bpm in tune.tempos)
        instruments = ", ".join(
            "%s (%s)" % (part.instrument, part.name) for part in tune.parts
            if part.copy_of is None or part.program is not None)
        lines.append("| %s.mid | %s | %s | %d/%d | %d | %.1f s | %s | %s |" % (
            name, tune.key, tempo, tune.numerator, tune.denominator,
            tune.bars, tune.seconds(), instruments, tune.mood))
    lines += ["", "| effect | length | sound |", "| --- | --- | --- |"]
    for name in EFFECTS:
        samples = effect_samples(name)
        lines.append("| %s.wav | %.2f s | %s |" % (
            name, len(samples) / RATE, EFFECT_NOTES.get(name, "")))
    return "\n".join(lines)


EFFECT_NOTES = {
    "bluejay_dies": "a two-note yelp up, then square and triangle sliding down two octaves, widening warble",
    "damaging_stomp": "noise squash and falling sine, then a rising square blip",
    "grab_egg": "triangle arpeggio up an E major chord, sine sparkles above",
    "hit": "overdriven saw and square falling, gritty noise",
    "mosquito": "thin saw near 620 Hz, fast flutter and slow waver",
    "useless_stomp": "two low sines, a wooden tok and a muffled knock",
    "warp": "square and triangle stepping down 31 semitones, pulsing 16 times a second",
    "bird_chirp": "three sine swoops near 2.6 to 3 kHz",
    "pause": "two bell tones, E6 then B6",
    "growing": "square and triangle rising two octaves",
    "shrinking": "square and triangle falling two octaves",
    "thud": "deep falling sine, soft-clipped, with a muffled slam and a crack",
    "checkpoint": "a bell: G5 struck with uneven overtones, D6 ringing after",
    "flight_refused": "two short low square buzzes, G3 then D3",
}


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--check", action="store_true",
                        help="rebuild in a temporary folder and compare")
    parser.add_argument("--table", action="store_true",
                        help="print the track and effect tables")
    parser.add_argument("--out", default=SOUNDS,
                        help="folder to write (default data/sounds)")
    options = parser.parse_args(argv)
    try:
        if options.check:
            return check(options.out)
        if options.table:
            print(tables())
            return 0
        files = build_all()
    except TuneError as error:
        print("error: %s" % error, file=sys.stderr)
        return 2
    write_files(files, options.out)
    print("wrote %d files to %s" % (len(files), options.out))
    return 0


if __name__ == "__main__":
    sys.exit(main())
