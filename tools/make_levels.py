#!/usr/bin/env python3
"""Draws a level map as readable text, and builds a level map from a drawing.

The level map files data/levels/level_N.map are the levels: the game loads
them and the editor saves them. This tool only helps to read and to sketch
them; it never writes a map that it is not told to.

    python3 tools/make_levels.py --draw N > sketch.txt   # level N as text
    python3 tools/make_levels.py --build sketch.txt N    # writes level_N.map

A drawing describes one level:

    background 0          # picture 0..6 (grass, cloudy, forest, dark,
                          # underworld, hilly, black)
    music 1               # music track 0..12
    pointer 3 1           # the pipe in screen column 3 leads to level 1
                          # (for a local pipe: to screen column 1)
    map
    ................      # one character per 16 x 16 cell, see the tables;
    ....J...........      # the last line is the bottom row of the lowest
    GGGGGGGGGGGGGGGG      # screen (y = 208), lines above it go up

A letter marks the top-left corner of an object; the object itself may be
bigger than its cell (ground is 2 x 2 cells). '.' and ' ' are empty.
Building writes the characters in the order they are met, top to bottom and
left to right, then the platforms the same way. Drawing needs every entry on
the 16-pixel grid and at most one entry in a cell (the editor keeps to the
grid); it names the entries it cannot draw and draws the rest.
"""

import os
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
TARGET = os.path.join(ROOT, "data", "levels")

CELL = 16
BOTTOM_ROW_Y = 208
POINTERS = 50
LEVELS = 120

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


MARKS = {code: mark for mark, code in list(CHARACTERS.items()) + list(PLATFORMS.items())}


def read_map(path):
    """The numbers of a map file: background, music, characters, platforms
    and pointers, read as the game reads them."""
    try:
        with open(path, encoding="ascii") as handle:
            numbers = [int(word) for word in handle.read().split()]
    except (OSError, ValueError) as error:
        raise LevelError("%s: %s" % (path, error))
    if len(numbers) < 2:
        raise LevelError("%s: no background and music" % path)
    position = 2
    lists = []
    for _ in range(2):
        entries = []
        while position < len(numbers) and numbers[position] != -1:
            if position + 2 >= len(numbers):
                raise LevelError("%s: ends inside an entry" % path)
            entries.append(tuple(numbers[position:position + 3]))
            position += 3
        if position >= len(numbers):
            raise LevelError("%s: a list has no end" % path)
        position += 1
        lists.append(entries)
    pointers = (numbers[position:position + POINTERS] + [0] * POINTERS)[:POINTERS]
    return numbers[0], numbers[1], lists[0], lists[1], pointers


def draw(level):
    """The drawing of a level, and the entries that could not be drawn."""
    background, music, characters, platforms, pointers = level
    cells, left_out = {}, []
    for code, x, y in characters + platforms:
        key = (x // CELL, y // CELL)
        if code not in MARKS or x % CELL or y % CELL or x < 0 or key in cells:
            left_out.append((code, x, y))
        else:
            cells[key] = MARKS[code]
    lines = ["background %d" % background, "music %d" % music]
    lines += ["pointer %d %d" % (screen, value) for screen, value in enumerate(pointers) if value]
    lines.append("map")
    if cells:
        top = min(min(row for _, row in cells), BOTTOM_ROW_Y // CELL)
        width = max(column for column, _ in cells) + 1
        for row in range(top, BOTTOM_ROW_Y // CELL + 1):
            lines.append("".join(cells.get((column, row), ".") for column in range(width)))
    return "\n".join(lines) + "\n", left_out


def write_safely(path, text):
    """Writes beside the target, then renames over it, keeping its mode."""
    folder = os.path.dirname(os.path.abspath(path))
    handle, scratch = tempfile.mkstemp(prefix=".level_", dir=folder)
    try:
        with os.fdopen(handle, "w", encoding="ascii", newline="\n") as out:
            out.write(text)
            out.flush()
            os.fsync(out.fileno())
        if os.path.exists(path):
            os.chmod(scratch, os.stat(path).st_mode & 0o7777)
        else:
            os.chmod(scratch, 0o644)
        os.replace(scratch, os.path.realpath(path))
    except OSError:
        if os.path.exists(scratch):
            os.unlink(scratch)
        raise


def level_number(text):
    try:
        number = int(text)
    except ValueError:
        number = -1
    if not 0 <= number < LEVELS:
        raise LevelError("levels are numbered 0 to %d, not %r" % (LEVELS - 1, text))
    return number


def main(argv, target=TARGET):
    try:
        if len(argv) == 3 and argv[1] == "--draw":
            path = os.path.join(target, "level_%d.map" % level_number(argv[2]))
            text, left_out = draw(read_map(path))
            sys.stdout.write(text)
            for code, x, y in left_out:
                print("make_levels: not drawn: type %d at (%d, %d)" % (code, x, y), file=sys.stderr)
            return 1 if left_out else 0
        if len(argv) == 4 and argv[1] == "--build":
            path = os.path.join(target, "level_%d.map" % level_number(argv[3]))
            text = render(parse(argv[2]))
            try:
                write_safely(path, text)
            except OSError as error:
                raise LevelError("cannot write %s: %s" % (path, error.strerror))
            print(os.path.relpath(path))
            return 0
        print(__doc__)
        return 2
    except LevelError as error:
        print("make_levels: %s" % error, file=sys.stderr)
        return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
