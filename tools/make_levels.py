#!/usr/bin/env python3
"""Builds the level map files from drawn layouts.

Each source tools/levels/level_N.txt describes level N:

    background 0          # picture 0..6 (grass, cloudy, forest, dark,
                          # underworld, hilly, black)
    music 1               # music track 0..12
    pointer 3 1           # the pipe in screen column 3 leads to level 1
                          # (for a local pipe: to screen column 1)
    map
    ................      # one character per 16 x 16 cell, see LEGEND;
    ....J...........      # the last line is the bottom row of the lowest
    GGGGGGGGGGGGGGGG      # screen (y = 208), lines above it go up

A letter marks the top-left corner of an object; the object itself may be
bigger than its cell (ground is 2 x 2 cells). '.' and ' ' are empty.
Characters are written in the order they are met, top to bottom and left to
right, then the platforms the same way.

    python3 tools/make_levels.py          # writes data/levels/level_N.map
    python3 tools/make_levels.py --check  # compares with data/levels
"""

import os
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
SOURCES = os.path.join(HERE, "levels")
TARGET = os.path.join(ROOT, "data", "levels")

CELL = 16
BOTTOM_ROW_Y = 208
POINTERS = 50

CHARACTERS = {
    "k": 1,   # black bird
    "J": 2,   # the hero
    "q": 3,   # clam
    "e": 4,   # egg
    "f": 5,   # fly
    "m": 6,   # mosquito
    "s": 7,   # shouting black bird
    "l": 8,   # leaping black bird
    "h": 9,   # ghost
    "H": 10,  # master ecto
    "r": 11,  # rock
    "g": 12,  # goldenjay
    "o": 13,  # swooper
    "R": 14,  # local rock
    "x": 15,  # pipe switch
    "X": 16,  # reverse pipe switch
    "Q": 17,  # super mosquito
    "n": 18,  # lemming
    "t": 19,  # throwable rock
    "a": 20,  # stop-attack marker
    "u": 21,  # hunting fly
    "T": 22,  # tomatoo plant
    "z": 23,  # scrolling-background marker
    "M": 24,  # message marker
    "i": 25,  # spiked pole
    "U": 26,  # boiling mud
    "D": 27,  # mud drop
    "E": 28,  # the final switch
}

PLATFORMS = {
    "B": 1000,  # brown block
    "C": 1001,  # cement block
    "W": 1002,  # big bush
    "w": 1003,  # small bush
    "c": 1004,  # cherry
    "G": 1005,  # ground
    "P": 1006,  # pipe to another level
    "S": 1007,  # limestone
    "=": 1008,  # ledge
    "d": 1009,  # walk-through dirt
    "-": 1010,  # wire
    "|": 1011,  # stopper
    "L": 1012,  # local pipe
    "#": 1013,  # stone wall
    "F": 1014,  # fake cement block
    "y": 1015,  # yellow cherry
    "v": 1016,  # short vine
    "V": 1017,  # tall vine
}


class LevelError(Exception):
    pass


def parse(path):
    background, music = 0, 0
    pointers = [0] * POINTERS
    rows = None
    with open(path, encoding="utf-8") as source:
        for number, raw in enumerate(source, 1):
            line = raw.rstrip("\n")
            if rows is not None:
                rows.append((number, line))
                continue
            words = line.split("#", 1)[0].split()
            if not words:
                continue
            try:
                if words[0] == "background" and len(words) == 2:
                    background = int(words[1])
                elif words[0] == "music" and len(words) == 2:
                    music = int(words[1])
                elif words[0] == "pointer" and len(words) == 3:
                    screen, value = int(words[1]), int(words[2])
                    if not 0 <= screen < POINTERS or not 0 <= value < 120:
                        raise ValueError
                    pointers[screen] = value
                elif words == ["map"]:
                    rows = []
                else:
                    raise ValueError
            except ValueError:
                raise LevelError("%s:%d: cannot read %r" % (path, number, line))
    if rows is None:
        raise LevelError("%s: no map" % path)
    if not 0 <= background <= 6 or not 0 <= music <= 12:
        raise LevelError("%s: background or music out of range" % path)
    while rows and not rows[-1][1].strip():
        rows.pop()

    characters, platforms = [], []
    count = len(rows)
    for index, (number, line) in enumerate(rows):
        y = BOTTOM_ROW_Y - (count - 1 - index) * CELL
        for column, mark in enumerate(line):
            x = column * CELL
            if mark in ". ":
                continue
            if mark in CHARACTERS:
                characters.append((CHARACTERS[mark], x, y))
            elif mark in PLATFORMS:
                platforms.append((PLATFORMS[mark], x, y))
            else:
                raise LevelError("%s:%d: unknown mark %r" % (path, number, mark))
    if column_limit(rows) > POINTERS * 16:
        raise LevelError("%s: wider than %d screens" % (path, POINTERS))
    if sum(1 for kind, _, _ in characters if kind == 2) != 1:
        raise LevelError("%s: a level needs exactly one hero" % path)
    return background, music, characters, platforms, pointers


def column_limit(rows):
    return max((len(line) for _, line in rows), default=0)


def render(level):
    background, music, characters, platforms, pointers = level
    numbers = [background, music]
    for entry in characters:
        numbers.extend(entry)
    numbers.append(-1)
    for entry in platforms:
        numbers.extend(entry)
    numbers.append(-1)
    numbers.extend(pointers)
    return "".join("%d\n" % n for n in numbers)


def build(target):
    os.makedirs(target, exist_ok=True)
    written = []
    for name in sorted(os.listdir(SOURCES)):
        if not (name.startswith("level_") and name.endswith(".txt")):
            continue
        number = int(name[len("level_"):-len(".txt")])
        if not 0 <= number < 120:
            raise LevelError("%s: levels are numbered 0 to 119" % name)
        text = render(parse(os.path.join(SOURCES, name)))
        out = os.path.join(target, "level_%d.map" % number)
        with open(out, "w", encoding="ascii", newline="\n") as handle:
            handle.write(text)
        written.append(out)
    return written


def main(argv):
    try:
        if argv[1:] == ["--check"]:
            with tempfile.TemporaryDirectory() as scratch:
                different = []
                for path in build(scratch):
                    name = os.path.basename(path)
                    committed = os.path.join(TARGET, name)
                    with open(path, encoding="ascii") as made:
                        fresh = made.read()
                    try:
                        with open(committed, encoding="ascii") as old:
                            same = old.read() == fresh
                    except OSError:
                        same = False
                    if not same:
                        different.append(name)
                if different:
                    print("out of date: " + " ".join(different))
                    return 1
                return 0
        if argv[1:]:
            print(__doc__)
            return 2
        for path in build(TARGET):
            print(os.path.relpath(path, ROOT))
        return 0
    except LevelError as error:
        print("make_levels: %s" % error, file=sys.stderr)
        return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
