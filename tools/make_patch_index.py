#!/usr/bin/env python3
"""Turns a sound-font index written for another MIDI player (the one Debian's
freepats package ships as /etc/timidity/freepats.cfg) into the index the game
library's patch grabber (pat2dat) and its software synthesizer read.

    python3 tools/make_patch_index.py [--source FILE] OUT.cfg

The two indexes differ in three ways:

- The other player numbers the melodic programs from 0; ours numbers them
  from 1. Used as it is, every instrument would sound one program too low.
- Ours wants the drum kit inside a `begin_multipatch` ... `end_multipatch`
  block, with one line per key; the `drumset` section of the other player
  means nothing to it, and every drum would be silent.
- Patch names are relative to the index's own folder in ours; the other's
  `dir` line is written into every name instead, so the index can live in
  the build tree.

The free set lacks a few General MIDI instruments our tunes use (the music
box, the vibraphone, a warm pad, ...). Each missing program borrows the
nearest patch of its own family of eight (the pianos, the chromatic
percussion, the organs, ...), so that no part of a tune goes quiet.
"""

import argparse
import os
import sys

DEFAULT_SOURCE = "/etc/timidity/freepats.cfg"
PROGRAMS = 128
FAMILY = 8


def parse(text, base="."):
    """Reads the other player's index: (melodic, drums), each a dict from a
    program (from 0) or key to a patch path. A `dir` line sets the folder of
    the names after it; relative folders are taken from base."""
    melodic, drums = {}, {}
    section = None
    folder = base
    for raw in text.splitlines():
        words = raw.split("#", 1)[0].split()
        if not words:
            continue
        keyword = words[0]
        if keyword == "dir" and len(words) >= 2:
            folder = os.path.join(base, words[1])
        elif keyword == "bank" and len(words) >= 2:
            section = ("bank", words[1])
        elif keyword == "drumset" and len(words) >= 2:
            section = ("drumset", words[1])
        elif keyword.isdigit() and len(words) >= 2 and section is not None:
            number = int(keyword)
            path = os.path.join(folder, words[1])
            # Only the first bank and kit are General MIDI; options after the
            # name (amp=, pan=) are the other player's own.
            if section == ("bank", "0") and number < PROGRAMS:
                melodic.setdefault(number, path)
            elif section == ("drumset", "0") and number < PROGRAMS:
                drums.setdefault(number, path)
    return melodic, drums


def stand_in(program, melodic):
    """The program whose patch plays the given one: itself when the set has
    it, else the nearest of its family (the lower one on a tie), else None."""
    if program in melodic:
        return program
    first = program - program % FAMILY
    family = [p for p in range(first, first + FAMILY) if p in melodic]
    if not family:
        return None
    return min(family, key=lambda p: (abs(p - program), p))


def convert(melodic, drums):
    """Writes our index: programs from 1, the kit in a multipatch block."""
    lines = ["# Patch index for the game's software synthesizer, made by",
             "# tools/make_patch_index.py: programs from 1, drums by key."]
    for program in range(PROGRAMS):
        source = stand_in(program, melodic)
        if source is not None:
            lines.append("%d %s" % (program + 1, melodic[source]))
    lines.append("129-256 begin_multipatch default blank")
    for key in sorted(drums):
        lines.append("%d %s" % (key, drums[key]))
    lines.append("end_multipatch")
    return "\n".join(lines) + "\n"


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("output", help="the index to write")
    parser.add_argument("--source", default=DEFAULT_SOURCE,
                        help="the other player's index (default %(default)s)")
    args = parser.parse_args(argv)
    try:
        with open(args.source, encoding="latin-1") as handle:
            text = handle.read()
    except OSError as error:
        print("Cannot read the patch index %s: %s" % (args.source, error), file=sys.stderr)
        return 1
    melodic, drums = parse(text, os.path.dirname(os.path.abspath(args.source)))
    if not melodic or not drums:
        print("No instruments or no drums in %s" % args.source, file=sys.stderr)
        return 1
    temporary = args.output + ".tmp"
    with open(temporary, "w") as handle:
        handle.write(convert(melodic, drums))
    os.replace(temporary, args.output)
    return 0


if __name__ == "__main__":
    sys.exit(main())
