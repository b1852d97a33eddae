#!/usr/bin/env python3
"""Turns a readable input script into the demo movie.

A script (tools/movies/demo.txt) starts with the line "level N", the level the
demo plays on; every other line is a tick count and the keys held for that
many ticks, e.g. "12 right up". Key names: left right up down fly pause enter
quit delete none. '#' starts a comment. The headless runner reads the same
scripts (bluejay_run --script).

    python3 tools/make_movie.py          # writes data/movie/movie.dat
    python3 tools/make_movie.py --check  # compares with data/movie/movie.dat
"""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
SOURCE = os.path.join(HERE, "movies", "demo.txt")
TARGET = os.path.join(ROOT, "data", "movie", "movie.dat")
MAX_WORDS = 18000

KEYS = {
    "fly": 0x1, "left": 0x2, "right": 0x4, "up": 0x8, "down": 0x10,
    "pause": 0x20, "quit": 0x40, "enter": 0x80, "delete": 0x2000, "none": 0,
}


def convert(path):
    level = None
    words = []
    with open(path, encoding="utf-8") as source:
        for number, raw in enumerate(source, 1):
            fields = raw.split("#", 1)[0].split()
            if not fields:
                continue
            if fields[0] == "level" and len(fields) == 2 and level is None:
                level = int(fields[1])
                continue
            try:
                count = int(fields[0])
                word = 0
                for name in fields[1:]:
                    word |= KEYS[name]
            except (ValueError, KeyError):
                raise SystemExit("%s:%d: cannot read %r" % (path, number, raw.strip()))
            if count < 0:
                raise SystemExit("%s:%d: negative tick count" % (path, number))
            words.extend([word] * count)
    if level is None or not 0 <= level < 120:
        raise SystemExit("%s: the first line must be 'level N' with N in 0..119" % path)
    if len(words) > MAX_WORDS:
        raise SystemExit("%s: %d ticks, at most %d fit" % (path, len(words), MAX_WORDS))
    return "".join("%d\n" % n for n in [level] + words)


def main(argv):
    text = convert(SOURCE)
    if argv[1:] == ["--check"]:
        with open(TARGET, encoding="ascii") as old:
            if old.read() != text:
                print("out of date: " + os.path.relpath(TARGET, ROOT))
                return 1
        return 0
    os.makedirs(os.path.dirname(TARGET), exist_ok=True)
    with open(TARGET, "w", encoding="ascii", newline="\n") as out:
        out.write(text)
    print(os.path.relpath(TARGET, ROOT))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
