#!/usr/bin/env python3
"""Make every picture of Bluejay, and the creatures' collision shapes.

Usage:
    python3 tools/make_pictures.py            write data/graphics and data/bump_maps
    python3 tools/make_pictures.py --check    rebuild into a temporary directory and
                                              compare with data/; exit 1 on any difference
    python3 tools/make_pictures.py --out DIR  write below DIR instead of the repository

Only the Python standard library is used, and the output is the same byte for
byte on every run.

Pictures
--------
Every picture is a 24-bit uncompressed Windows BMP (BITMAPINFOHEADER, rows
bottom-up, each row padded to 4 bytes), the kind the game's load_bitmap reads.
Transparent pixels are magenta (255, 0, 255). The table PICTURES below fixes the
file, the size and the kind of every picture; the game's play depends on the
sizes and on the shapes in BUMP_MAPS, so both are checked here and must not be
changed lightly (docs/sizes.md explains why they are what they are).

Sprites are pixel art kept as text in tools/art/*.txt:

* tools/art/palette.txt is the legend: one colour a line, `C  red green blue  name`,
  where C is the single character that stands for the colour in the art.
  `.` is transparent (magenta); `,` is reserved (see `from` below).

* Every other tools/art/*.txt holds blocks separated by blank lines. Lines that
  start with `#` are comments. A block is

      picture bluejay/standing.bmp      the file, relative to data/graphics
      from bluejay/standing.bmp         optional: start from that picture's characters
      recolour B=Y b=y                  optional: swap characters of the start picture
      scale 2                           optional: blow the start picture up 2 times
      ........KK..............          the rows: one character per pixel
      ...

  A picture without `from` needs exactly as many rows as it is high, each
  exactly as long as it is wide. A picture with `from` may leave the rows out
  (a recoloured copy) or give a full set of rows in which `,` keeps the
  character of the start picture (an overlay, used for variants: the other
  frames of a creature, the editor's marked pictures, the big creatures that
  start from their small kin).

* Blocks `glyph big B` and `glyph small P` are the hand-drawn letters of the
  title; any character other than `.` is ink.

Backgrounds are painted by the functions below from fixed random seeds; each one
tiles horizontally (the game draws two copies side by side), so everything in
them wraps round at x = 256. The title is composed from the glyphs, an outline
and a small hero taken from the sprites.

Any wrong size, row length, unknown character or missing picture stops the run
with an error naming the file and line.
"""

import argparse
import filecmp
import math
import os
import random
import struct
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ART_DIR = os.path.join(ROOT, "tools", "art")
MAGENTA = (255, 0, 255)

# index, file below data/graphics, width, height, kind, collision shape file
#   kind: "background" (opaque 256 x 224), "title", "tile" (opaque, tiles side by
#   side, its shape is the whole picture), "sprite" (everything else)
PICTURES = [
    (0, "backgrounds/grass.bmp", 256, 224, "background", None),
    (1, "backgrounds/cloudy.bmp", 256, 224, "background", None),
    (2, "backgrounds/forest.bmp", 256, 224, "background", None),
    (3, "backgrounds/dark.bmp", 256, 224, "background", None),
    (4, "backgrounds/underworld.bmp", 256, 224, "background", None),
    (5, "backgrounds/hilly.bmp", 256, 224, "background", None),
    (6, "backgrounds/black.bmp", 256, 224, "background", None),
    (7, "black_bird/standing.bmp", 24, 24, "sprite", "black_bird"),
    (8, "black_bird/hurt.bmp", 24, 24, "sprite", "black_bird"),
    (9, "blocks/brown.bmp", 16, 16, "tile", None),
    (10, "blocks/cement.bmp", 16, 16, "tile", None),
    (11, "bluejay/standing.bmp", 24, 24, "sprite", "bluejay"),
    (12, "bluejay/eating.bmp", 24, 24, "sprite", "bluejay"),
    (13, "bluejay/hurt.bmp", 24, 24, "sprite", "bluejay"),
    (14, "bluejay/wings_in.bmp", 24, 24, "sprite", "bluejay"),
    (15, "bluejay/wings_out.bmp", 24, 24, "sprite", "bluejay"),
    (16, "bush/big.bmp", 64, 32, "sprite", None),
    (17, "bush/small.bmp", 32, 16, "sprite", None),
    (18, "cherry/cherry.bmp", 16, 16, "sprite", "cherry"),
    (19, "clam/mouth_closed.bmp", 24, 16, "sprite", "clam"),
    (20, "clam/mouth_open.bmp", 24, 16, "sprite", "clam"),
    (21, "egg/egg.bmp", 12, 16, "sprite", "egg"),
    (22, "fly/wings_in.bmp", 16, 16, "sprite", "fly"),
    (23, "fly/wings_out.bmp", 16, 16, "sprite", "fly"),
    (24, "ground/ground.bmp", 32, 32, "tile", None),
    (25, "mosquito/wings_down.bmp", 16, 16, "sprite", "mosquito"),
    (26, "mosquito/wings_up.bmp", 16, 16, "sprite", "mosquito"),
    (27, "pipe/pipe.bmp", 32, 32, "tile", None),
    (28, "misc/title.bmp", 256, 224, "title", None),
    (29, "ground/limestone.bmp", 32, 32, "tile", None),
    (30, "ghost/ghost.bmp", 32, 32, "sprite", "ghost"),
    (31, "master_ecto/master_ecto.bmp", 64, 64, "sprite", "master_ecto"),
    (32, "rock/rock.bmp", 24, 24, "sprite", "rock"),
    (33, "black_bird/shouting.bmp", 24, 24, "sprite", "black_bird"),
    (34, "black_bird/leaping.bmp", 24, 24, "sprite", "black_bird"),
    (35, "ground/ledge.bmp", 32, 8, "tile", None),
    (36, "ground/walk_through_dirt.bmp", 32, 32, "tile", None),
    (37, "goldenjay/perched.bmp", 24, 24, "sprite", "goldenjay"),
    (38, "goldenjay/mouth_open.bmp", 24, 24, "sprite", "goldenjay"),
    (39, "goldenjay/wings_in.bmp", 24, 24, "sprite", "goldenjay"),
    (40, "goldenjay/wings_out.bmp", 24, 24, "sprite", "goldenjay"),
    (41, "swooper/wings_in.bmp", 24, 16, "sprite", "swooper"),
    (42, "swooper/wings_out.bmp", 24, 16, "sprite", "swooper"),
    (43, "bush/fake.bmp", 72, 48, "sprite", None),
    (44, "wire/wire.bmp", 64, 8, "sprite", "wire"),
    (45, "rock/local.bmp", 24, 24, "sprite", "rock"),
    (46, "switch/normal.bmp", 24, 16, "sprite", "switch"),
    (47, "switch/pressed.bmp", 24, 16, "sprite", "switch"),
    (48, "switch/pipe.bmp", 24, 16, "sprite", "switch"),
    (49, "switch/reverse_pipe.bmp", 24, 16, "sprite", "switch"),
    (50, "super_mosquito/wings_down.bmp", 32, 32, "sprite", "super_mosquito"),
    (51, "super_mosquito/wings_up.bmp", 32, 32, "sprite", "super_mosquito"),
    (52, "lemming/still.bmp", 16, 24, "sprite", "lemming"),
    (53, "lemming/walk.bmp", 16, 24, "sprite", "lemming"),
    (54, "lemming/still_arms_up.bmp", 16, 24, "sprite", "lemming"),
    (55, "lemming/walk_arms_up.bmp", 16, 24, "sprite", "lemming"),
    (56, "rock/throwable.bmp", 16, 16, "sprite", "throwable_rock"),
    (57, "misc/stop_attack.bmp", 16, 16, "sprite", None),
    (58, "fly/hunting.bmp", 16, 16, "sprite", "fly"),
    (59, "tomatoo_plant/head.bmp", 24, 24, "sprite", "tomatoo_plant"),
    (60, "tomatoo_plant/stem.bmp", 24, 8, "sprite", None),
    (61, "misc/stopper.bmp", 16, 16, "sprite", None),
    (62, "misc/scrolling_background.bmp", 16, 16, "sprite", None),
    (63, "pipe/local.bmp", 32, 32, "tile", None),
    (64, "misc/message_box.bmp", 16, 16, "sprite", None),
    (65, "misc/stone_wall.bmp", 32, 32, "tile", None),
    (66, "blocks/fake_cement.bmp", 16, 16, "sprite", None),
    (67, "spiked_pole/point.bmp", 16, 16, "sprite", "spiked_pole"),
    (68, "spiked_pole/pole.bmp", 16, 16, "sprite", None),
    (69, "boiling_mud/mud.bmp", 32, 16, "sprite", "boiling_mud"),
    (70, "mud_drop/mud_drop.bmp", 12, 12, "sprite", "mud_drop"),
    (71, "misc/strength_mark.bmp", 8, 8, "sprite", None),
    (72, "cherry/one_up.bmp", 16, 16, "sprite", "cherry"),
    (73, "bluejay/icon.bmp", 16, 16, "sprite", None),
    (74, "vine/short.bmp", 16, 32, "sprite", None),
    (75, "vine/tall.bmp", 16, 64, "sprite", None),
    (76, "misc/empty_mark.bmp", 8, 8, "sprite", None),
    (77, "switch/no_ecto.bmp", 24, 16, "sprite", "switch"),
    (78, "checkpoint/unlit.bmp", 16, 32, "sprite", None),
    (79, "checkpoint/lit.bmp", 16, 32, "sprite", None),
]

# Collision shapes in cells of 4 x 4 pixels: left, top, right, bottom, inclusive,
# from the picture's top-left cell. The hero has three: head, body, tail.
BUMP_MAPS = {
    "black_bird": [(1, 1, 4, 5)],
    "bluejay": [(3, 0, 5, 2), (1, 0, 4, 5), (0, 2, 1, 4)],
    "clam": [(0, 0, 5, 3)],
    "egg": [(0, 0, 2, 3)],
    "fly": [(0, 1, 3, 3)],
    "mosquito": [(1, 1, 2, 2)],
    "ghost": [(1, 1, 6, 6)],
    "master_ecto": [(2, 2, 13, 13)],
    "rock": [(1, 1, 4, 4)],
    "goldenjay": [(1, 1, 4, 4)],
    "swooper": [(0, 1, 5, 2)],
    "switch": [(0, 1, 5, 3)],
    "super_mosquito": [(1, 1, 6, 6)],
    "lemming": [(0, 0, 3, 5)],
    "throwable_rock": [(0, 1, 3, 3)],
    "tomatoo_plant": [(0, 0, 5, 5)],
    "spiked_pole": [(0, 0, 3, 3)],
    "boiling_mud": [(0, 1, 7, 3)],
    "mud_drop": [(0, 0, 2, 2)],
    "cherry": [(1, 1, 2, 3)],
    "wire": [(0, 0, 15, 0)],
}

# How far a sprite's drawn pixels may reach outside its shape (in pixels), and
# which share of them may lie outside at all. Wings, legs and beaks poke out a
# little; nothing large may.
SHAPE_SLACK = {
    "default": (4, 0.20),
    "fly": (4, 0.30),           # the wings stand up above the body
    "mosquito": (4, 0.60),      # long legs and wings round a tiny body
    "super_mosquito": (4, 0.35),
    "master_ecto": (8, 0.20),   # twice the size; the points of its crown
    "swooper": (4, 0.35),       # the scythe wings sweep up and down
    "cherry": (4, 0.45),        # the stalk rises above the fruit
    "wire": (0, 0.0),
}


# Parts of pictures that must be opaque: the goldenjay perches at (24, 16) in
# its bush, and the bush must hide all 24 x 24 pixels of it.
MUST_COVER = {
    "bush/fake.bmp": (24, 16, 47, 39),
}


class ArtError(Exception):
    """A fault in the art sources or in a generated picture."""


# ----------------------------------------------------------------------------
# Reading the art
# ----------------------------------------------------------------------------

def read_palette(path):
    palette = {}
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            text = line.rstrip("\n")
            if not text.strip() or text.startswith("#"):
                continue
            parts = text.split()
            where = "%s:%d" % (path, number)
            if len(parts[0]) != 1 or len(parts) < 4:
                raise ArtError("%s: expected 'C red green blue name'" % where)
            char = parts[0]
            if char in palette or char in ", #":
                raise ArtError("%s: character %r used twice or reserved" % (where, char))
            try:
                rgb = tuple(int(v) for v in parts[1:4])
            except ValueError:
                raise ArtError("%s: colour values must be integers" % where)
            if any(v < 0 or v > 255 for v in rgb):
                raise ArtError("%s: colour values must be 0..255" % where)
            if char != "." and rgb == MAGENTA:
                raise ArtError("%s: only '.' may be magenta" % where)
            palette[char] = rgb
    if palette.get(".") != MAGENTA:
        raise ArtError("%s: '.' must be 255 0 255" % path)
    return palette


class Block:
    def __init__(self, kind, name, where):
        self.kind = kind          # "picture" or "glyph"
        self.name = name          # file below data/graphics, or "big B"
        self.where = where        # file:line of the header, for messages
        self.source = None        # `from` picture
        self.recolour = {}
        self.scale = 1
        self.rows = []
        self.row_lines = []


def read_art_file(path):
    blocks = []
    current = None
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    for number, line in enumerate(lines, 1):
        where = "%s:%d" % (os.path.relpath(path, ROOT), number)
        text = line.rstrip()
        if text.startswith("#"):
            continue
        if not text:
            current = None
            continue
        word = text.split()[0]
        if word in ("picture", "glyph"):
            args = text.split()[1:]
            if word == "picture" and len(args) != 1:
                raise ArtError("%s: 'picture FILE' expected" % where)
            if word == "glyph" and (len(args) != 2 or args[0] not in ("big", "small")
                                    or len(args[1]) != 1):
                raise ArtError("%s: 'glyph big|small LETTER' expected" % where)
            current = Block(word, " ".join(args), where)
            blocks.append(current)
            continue
        if current is None:
            raise ArtError("%s: text outside a picture block" % where)
        if word == "from" and " " in text:
            if current.rows:
                raise ArtError("%s: 'from' must come before the rows" % where)
            current.source = text.split()[1]
        elif word == "scale" and " " in text:
            try:
                current.scale = int(text.split()[1])
            except ValueError:
                raise ArtError("%s: 'scale N' expected" % where)
            if current.scale < 1:
                raise ArtError("%s: the scale must be 1 or more" % where)
        elif word == "recolour" and " " in text:
            for pair in text.split()[1:]:
                if len(pair) != 3 or pair[1] != "=":
                    raise ArtError("%s: recolour pairs look like B=Y" % where)
                current.recolour[pair[0]] = pair[2]
        else:
            current.rows.append(text)
            current.row_lines.append(where)
    return blocks


def load_art(art_dir=ART_DIR):
    """Read every art file; return (palette, {name: char grid}, glyphs)."""
    palette = read_palette(os.path.join(art_dir, "palette.txt"))
    blocks = []
    for name in sorted(os.listdir(art_dir)):
        if name.endswith(".txt") and name != "palette.txt":
            blocks.extend(read_art_file(os.path.join(art_dir, name)))

    sizes = {p[1]: (p[2], p[3]) for p in PICTURES}
    pictures = {}
    glyphs = {"big": {}, "small": {}}
    pending = [b for b in blocks if b.kind == "picture"]

    for b in blocks:
        if b.kind == "glyph":
            size_name, letter = b.name.split()
            if not b.rows:
                raise ArtError("%s: glyph without rows" % b.where)
            width = len(b.rows[0])
            for row, where in zip(b.rows, b.row_lines):
                if len(row) != width:
                    raise ArtError("%s: glyph row is %d long, expected %d"
                                   % (where, len(row), width))
            glyphs[size_name][letter] = [[c != "." for c in row] for row in b.rows]

    seen = set()
    for b in pending:
        if b.name not in sizes:
            raise ArtError("%s: %s is not a picture of the game" % (b.where, b.name))
        if b.name in seen:
            raise ArtError("%s: %s is drawn twice" % (b.where, b.name))
        seen.add(b.name)

    # Pictures made `from` others are built once their start picture exists.
    while pending:
        progress = False
        for b in list(pending):
            if b.source is not None and b.source not in pictures:
                if b.source not in seen:
                    raise ArtError("%s: no picture %s to start from" % (b.where, b.source))
                continue
            pictures[b.name] = build_block(b, sizes[b.name], palette,
                                           pictures.get(b.source))
            pending.remove(b)
            progress = True
        if not progress:
            raise ArtError("pictures start from each other in a circle: %s"
                           % ", ".join(b.name for b in pending))
    return palette, pictures, glyphs


def build_block(block, size, palette, start):
    width, height = size
    if start is not None:
        n = block.scale
        grid = [[block.recolour.get(c, c) for c in row for _ in range(n)]
                for row in start for _ in range(n)]
        if len(grid) != height or len(grid[0]) != width:
            raise ArtError("%s: %s and %s differ in size" % (block.where, block.name,
                                                             block.source))
        if not block.rows:
            return grid
    elif block.recolour or block.scale != 1:
        raise ArtError("%s: 'recolour' and 'scale' need 'from'" % block.where)
    else:
        grid = None
    if len(block.rows) != height:
        raise ArtError("%s: %s has %d rows, its picture is %d high"
                       % (block.where, block.name, len(block.rows), height))
    result = []
    for y, (row, where) in enumerate(zip(block.rows, block.row_lines)):
        if len(row) != width:
            raise ArtError("%s: row is %d pixels long, %s is %d wide"
                           % (where, len(row), block.name, width))
        out = []
        for x, c in enumerate(row):
            if c == ",":
                if grid is None:
                    raise ArtError("%s: ',' needs 'from'" % where)
                c = grid[y][x]
            elif c not in palette:
                raise ArtError("%s: unknown colour character %r" % (where, c))
            out.append(c)
        result.append(out)
    return result


def grid_to_pixels(grid, palette):
    return [[palette[c] for c in row] for row in grid]


# ----------------------------------------------------------------------------
# Writing BMP files
# ----------------------------------------------------------------------------

def bmp_bytes(pixels):
    """24-bit uncompressed BMP of a list of rows (top row first) of (r, g, b)."""
    height = len(pixels)
    width = len(pixels[0])
    stride = (width * 3 + 3) & ~3
    pad = bytes(stride - width * 3)
    body = bytearray()
    for row in reversed(pixels):
        if len(row) != width:
            raise ArtError("ragged picture")
        for r, g, b in row:
            body += bytes((b, g, r))
        body += pad
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(body), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body),
                       2835, 2835, 0, 0)
    return header + info + bytes(body)


def read_bmp(data):
    """The inverse of bmp_bytes, for checks: rows (top first) of (r, g, b)."""
    magic, _, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
    size, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    if magic != b"BM" or size != 40 or bits != 24 or compression != 0 or height <= 0:
        raise ArtError("not a plain 24-bit bottom-up BMP")
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height):
        start = offset + (height - 1 - y) * stride
        line = data[start:start + width * 3]
        rows.append([(line[i + 2], line[i + 1], line[i]) for i in range(0, width * 3, 3)])
    return rows


# ----------------------------------------------------------------------------
# Painting helpers for the backgrounds and the title
# ----------------------------------------------------------------------------

W, H = 256, 224
BAYER = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def canvas(colour):
    return [[colour] * W for _ in range(H)]


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def banded(colours, t, x, y):
    """Pick from a list of colours by t in 0..1, dithering between bands."""
    t = min(max(t, 0.0), 1.0) * (len(colours) - 1)
    i = int(t)
    if i >= len(colours) - 1:
        return colours[-1]
    frac = t - i
    return colours[i + 1] if frac * 16 > BAYER[y % 4][x % 4] + 0.5 else colours[i]


def sky(img, colours, top, bottom):
    for y in range(top, bottom):
        t = (y - top) / max(1, bottom - top - 1)
        for x in range(W):
            img[y][x] = banded(colours, t, x, y)


def wave(rng, terms):
    """A random height function that repeats every 256 pixels."""
    parts = [(k, amp, rng.uniform(0, 2 * math.pi)) for k, amp in terms]
    return lambda x: sum(a * math.sin(2 * math.pi * k * x / W + p) for k, a, p in parts)


def plot(img, x, y, colour):
    if 0 <= y < H:
        img[y][x % W] = colour


def disc(img, cx, cy, r, colour, squash=1.0):
    for y in range(int(cy - r * squash) - 1, int(cy + r * squash) + 2):
        for x in range(int(cx - r) - 1, int(cx + r) + 2):
            dx, dy = x - cx, (y - cy) / squash
            if dx * dx + dy * dy <= r * r:
                plot(img, x, y, colour)


def periodic_noise(rng, cell, rows):
    """2-D value noise, smooth, repeating every 256 pixels across."""
    cols = W // cell
    lattice = [[rng.random() for _ in range(cols)] for _ in range(rows + 2)]

    def value(x, y):
        gx, gy = x / cell, y / cell
        x0, y0 = int(math.floor(gx)), int(math.floor(gy))
        fx, fy = gx - x0, gy - y0
        fx, fy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
        y0 = min(max(y0, 0), rows)
        a = lattice[y0][x0 % cols]
        b = lattice[y0][(x0 + 1) % cols]
        c = lattice[y0 + 1][x0 % cols]
        d = lattice[y0 + 1][(x0 + 1) % cols]
        return (a * (1 - fx) + b * fx) * (1 - fy) + (c * (1 - fx) + d * fx) * fy
    return value


def ridge(img, height_at, colours, shade_rows, bottom=H):
    """Fill below a wrapping skyline; the first rows under the edge are lighter."""
    for x in range(W):
        top = int(round(height_at(x)))
        for y in range(max(top, 0), bottom):
            depth = y - top
            if depth < len(shade_rows):
                img[y][x] = colours[shade_rows[depth]]
            else:
                img[y][x] = colours[-1]


def cloud(img, rng, cx, cy, size, light, mid, shadow):
    puffs = [(cx, cy, size)]
    for _ in range(4 + int(size / 3)):
        puffs.append((cx + rng.uniform(-1.6, 1.6) * size,
                      cy + rng.uniform(-0.5, 0.3) * size,
                      size * rng.uniform(0.5, 0.85)))
    flat = cy + size * 0.55
    for layer, colour, dy in ((0, shadow, 2), (1, mid, 0), (2, light, -2)):
        for px, py, r in puffs:
            rr = r - (0 if layer < 2 else r * 0.35)
            for y in range(int(py - rr) - 1, int(py + rr) + 2):
                if y + dy > flat + (2 if layer == 0 else 0):
                    continue
                for x in range(int(px - rr) - 1, int(px + rr) + 2):
                    ddx, ddy = x - px - (1 if layer == 2 else 0), y - py
                    if ddx * ddx + ddy * ddy * 1.3 <= rr * rr:
                        plot(img, x, y + dy, colour)


# Where a level has no ground (its ground tiles stand at y 192 to 223), the
# bottom of the background shows through a pit: it fades into the dark from
# DROP_TOP down, with no edge that could pass for ground.
DROP_TOP = 144

# A level's message is printed in white from the top of the picture, nine
# lines at most, over the picture darkened to three quarters: the band it
# stands on is kept dark enough (deep sky, no clouds, sun or moon) that white
# text reads on every background.
MESSAGE_BAND = 92


def drop(img, deep):
    for y in range(DROP_TOP, H):
        amount = 0.95 * (y - DROP_TOP) / (H - DROP_TOP)
        for x in range(W):
            img[y][x] = mix(img[y][x], deep, amount)


# ----------------------------------------------------------------------------
# The backgrounds
# ----------------------------------------------------------------------------

def grass_background():
    rng = random.Random(101)
    img = canvas((0, 0, 0))
    sky(img, [(92, 148, 252), (120, 172, 252), (152, 196, 252), (188, 220, 252)], 0, 176)
    for cx, cy, s in ((30, 108, 8), (120, 104, 10), (200, 116, 7)):
        cloud(img, rng, cx, cy, s, (255, 255, 255), (226, 236, 252), (184, 206, 240))
    far = wave(rng, [(1, 10), (3, 6), (5, 3)])
    ridge(img, lambda x: 140 + far(x), [(124, 196, 150), (96, 170, 128)], [0, 0, 1, 1], 200)
    near = wave(rng, [(2, 9), (4, 4), (7, 2)])
    ridge(img, lambda x: 164 + near(x), [(112, 208, 88), (72, 176, 64), (52, 150, 56)],
          [0, 1, 1, 2], H)
    drop(img, (8, 20, 12))
    return img


def cloudy_background():
    rng = random.Random(202)
    img = canvas((0, 0, 0))
    sky(img, [(70, 110, 200), (110, 150, 220), (170, 198, 240), (200, 218, 244), (60, 80, 150)], 0, H)
    spots = [(16, 112, 11), (96, 108, 9), (170, 118, 13), (236, 130, 8), (60, 134, 12),
             (140, 140, 10), (210, 146, 10), (30, 150, 8), (110, 152, 9)]
    for cx, cy, s in spots:
        cloud(img, rng, cx, cy, s, (252, 252, 255), (224, 230, 244), (176, 188, 216))
    drop(img, (6, 10, 36))
    return img


def forest_background():
    rng = random.Random(303)
    img = canvas((0, 0, 0))
    sky(img, [(84, 140, 204), (120, 176, 224), (204, 232, 228)], 0, 120)
    back = wave(rng, [(3, 6), (8, 4), (13, 2)])
    ridge(img, lambda x: 70 + back(x), [(88, 150, 112), (70, 128, 96)], [0, 1], H)
    # back row of trees: pale crowns on thin trunks
    for i in range(12):
        cx = i * 21 + rng.randrange(8)
        trunk = (72, 94, 72)
        for y in range(78, H):
            for dx in range(-1, 2):
                plot(img, cx + dx, y, trunk)
        for _ in range(5):
            disc(img, cx + rng.randrange(-8, 9), 70 + rng.randrange(-10, 14),
                 rng.randrange(8, 12), (74, 136, 92))
    # front row: dark trunks and full crowns with light on top
    for i in range(6):
        cx = i * 43 + rng.randrange(10)
        top = 30 + rng.randrange(20)
        for y in range(top + 20, H):
            for dx in range(-4, 5):
                colour = (70, 44, 26) if dx < -1 else (104, 66, 36)
                if dx == 3:
                    colour = (52, 32, 20)
                plot(img, cx + dx, y, colour)
        crowns = [(cx + rng.randrange(-14, 15), top + rng.randrange(0, 30), rng.randrange(11, 17))
                  for _ in range(7)]
        for colour, shift in (((22, 80, 36), 2), ((40, 118, 48), 0), ((76, 160, 60), -3)):
            for px, py, r in crowns:
                disc(img, px + (1 if shift < 0 else 0), py + shift,
                     r - (4 if shift < 0 else 0), colour)
    drop(img, (6, 16, 8))
    return img


def dark_background():
    rng = random.Random(404)
    img = canvas((0, 0, 0))
    sky(img, [(4, 6, 24), (10, 14, 44), (22, 26, 70), (40, 40, 92)], 0, H)
    for _ in range(90):
        x, y = rng.randrange(W), rng.randrange(0, 150)
        bright = rng.random()
        plot(img, x, y, (255, 255, 220) if bright > 0.85 else (150, 160, 200))
        if bright > 0.95:
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                plot(img, x + dx, y + dy, (110, 120, 170))
    # the moon
    disc(img, 196, 108, 13, (240, 236, 200))
    disc(img, 192, 105, 11, (255, 252, 224))
    for cx, cy, r in ((200, 114, 2), (191, 102, 1.5), (204, 104, 1)):
        disc(img, cx, cy, r, (220, 212, 170))
    far = wave(rng, [(2, 10), (5, 5), (9, 2)])
    ridge(img, lambda x: 150 + far(x), [(34, 40, 80), (26, 30, 64)], [0, 1], H)
    near = wave(rng, [(3, 7), (6, 4), (11, 2)])
    ridge(img, lambda x: 180 + near(x), [(30, 56, 60), (16, 36, 44), (10, 24, 30)],
          [0, 1, 1, 1, 2], H)
    drop(img, (2, 4, 10))
    return img


def underworld_background():
    rng = random.Random(505)
    img = canvas((0, 0, 0))
    noise = periodic_noise(rng, 16, H // 16)
    fine = periodic_noise(rng, 4, H // 4)
    rock = [(18, 12, 20), (34, 24, 34), (52, 38, 48), (74, 54, 62), (96, 72, 76)]
    for y in range(H):
        for x in range(W):
            v = 0.7 * noise(x, y) + 0.3 * fine(x, y)
            depth = 1.0 - abs(y - 112) / 140.0
            img[y][x] = banded(rock, v * 0.9 * depth + 0.05, x, y)
    # cracks in the rock
    for _ in range(14):
        x, y = rng.randrange(W), rng.randrange(30, 200)
        for _ in range(rng.randrange(8, 22)):
            plot(img, x, y, (10, 6, 12))
            plot(img, x + 1, y, (84, 64, 70))
            x += rng.choice((-1, 0, 1))
            y += 1
    # stalactites above, stalagmites below, all wrapping round
    for i in range(16):
        cx = i * 16 + rng.randrange(10)
        length = rng.randrange(12, 44)
        for y in range(length):
            half = (length - y) * 4 // length
            for dx in range(-half, half + 1):
                colour = (66, 48, 58) if dx < 0 else (100, 76, 84)
                if dx == -half:
                    colour = (20, 12, 22)
                plot(img, cx + dx, y, colour)
        height = rng.randrange(8, 30)
        for y in range(height):
            half = (y + 1) * 5 // height
            for dx in range(-half, half + 1):
                colour = (60, 44, 54) if dx < 0 else (92, 70, 78)
                if dx == half:
                    colour = (20, 12, 22)
                plot(img, cx + 8 + dx, H - height + y, colour)
    # glowing crystals in the dark
    for _ in range(10):
        x, y = rng.randrange(W), rng.randrange(40, 190)
        for dy, row in enumerate(("..X..", ".XYX.", "XYYYX", ".XYX.", "..X..")):
            for dx, c in enumerate(row):
                if c == "X":
                    plot(img, x + dx, y + dy, (70, 110, 150))
                elif c == "Y":
                    plot(img, x + dx, y + dy, (150, 210, 240))
    drop(img, (4, 2, 6))
    return img


def hilly_background():
    rng = random.Random(606)
    img = canvas((0, 0, 0))
    sky(img, [(100, 150, 224), (150, 196, 240)], 0, MESSAGE_BAND)
    sky(img, [(150, 196, 240), (200, 220, 236), (248, 222, 176), (250, 206, 150)], MESSAGE_BAND, 140)
    disc(img, 60, 112, 12, (255, 244, 200))
    for cx, cy, s in ((150, 104, 8), (230, 118, 6)):
        cloud(img, rng, cx, cy, s, (255, 250, 240), (246, 228, 214), (220, 196, 190))
    layers = [
        (96, [(1, 14), (3, 8), (4, 3)], [(150, 180, 170), (132, 166, 156)]),
        (124, [(2, 12), (3, 6), (6, 2)], [(126, 190, 120), (100, 168, 102)]),
        (152, [(1, 10), (4, 8), (7, 2)], [(110, 200, 84), (80, 176, 68), (60, 150, 56)]),
        (170, [(2, 10), (5, 5), (9, 2)], [(96, 196, 70), (64, 164, 56), (42, 132, 48)]),
    ]
    for base, terms, colours in layers:
        shape = wave(rng, terms)
        ridge(img, lambda x, s=shape, b=base: b + s(x), colours,
              [0, 0] + [1] * 5 + ([2] * 6 if len(colours) > 2 else []), H)
    # a few trees on the near hills
    near = wave(random.Random(7), [(3, 3)])
    for i in range(5):
        cx = i * 52 + 20
        base = int(174 + near(cx)) - 4
        for y in range(base - 6, base + 2):
            plot(img, cx, y, (92, 58, 30))
        disc(img, cx, base - 10, 6, (34, 110, 44))
        disc(img, cx - 1, base - 12, 4, (70, 156, 60))
    drop(img, (10, 24, 14))
    return img


def black_background():
    return canvas((0, 0, 0))


BACKGROUNDS = {
    "backgrounds/grass.bmp": grass_background,
    "backgrounds/cloudy.bmp": cloudy_background,
    "backgrounds/forest.bmp": forest_background,
    "backgrounds/dark.bmp": dark_background,
    "backgrounds/underworld.bmp": underworld_background,
    "backgrounds/hilly.bmp": hilly_background,
    "backgrounds/black.bmp": black_background,
}


# ----------------------------------------------------------------------------
# The title, drawn over the game playing itself
# ----------------------------------------------------------------------------

def stamp_text(img, glyphs, text, top, scale, fill_rows, outline, outline_width,
               shadow=None, gap=1):
    """Write text centred at row `top`, each glyph pixel scale x scale."""
    widths = [len(glyphs[c][0]) if c != " " else 4 for c in text]
    total = (sum(widths) + gap * (len(text) - 1)) * scale
    left = (W - total) // 2
    ink = set()
    x = left
    height = 0
    for c, w in zip(text, widths):
        if c != " ":
            rows = glyphs[c]
            height = max(height, len(rows) * scale)
            for gy, row in enumerate(rows):
                for gx, on in enumerate(row):
                    if on:
                        for sy in range(scale):
                            for sx in range(scale):
                                ink.add((x + gx * scale + sx, top + gy * scale + sy))
        x += (w + gap) * scale
    grow = set()
    for px, py in ink:
        for dy in range(-outline_width, outline_width + 1):
            for dx in range(-outline_width, outline_width + 1):
                if abs(dx) + abs(dy) <= outline_width + (1 if outline_width > 1 else 0):
                    grow.add((px + dx, py + dy))
    if shadow is not None:
        for px, py in grow:
            for d in range(1, 3):
                if (px + d, py + d) not in grow:
                    plot(img, px + d, py + d, shadow)
    for px, py in grow:
        plot(img, px, py, outline)
    for px, py in ink:
        t = (py - top) / max(1, height - 1)
        colour = fill_rows[min(len(fill_rows) - 1, int(t * len(fill_rows)))]
        # a light rim on the upper-left edges of each stroke
        if (px - 1, py) not in ink or (px, py - 1) not in ink:
            colour = mix(colour, (255, 255, 255), 0.45)
        plot(img, px, py, colour)
    return left, total


def title_picture(pictures, palette, glyphs):
    img = canvas(MAGENTA)
    text_top = 60
    blues = [(170, 214, 255), (110, 170, 250), (64, 124, 236), (40, 90, 200), (28, 64, 160)]
    left, total = stamp_text(img, glyphs["big"], "BLUEJAY", text_top, 3, blues,
                             (16, 14, 40), 2, shadow=(8, 8, 20))
    # the hero glides above the title, drawn twice as big
    jay = pictures["bluejay/wings_out.bmp"]
    jx, jy = (W - 48) // 2, text_top - 52
    for y, row in enumerate(jay):
        for x, c in enumerate(row):
            if c != ".":
                for sy in range(2):
                    for sx in range(2):
                        plot(img, jx + 2 * x + sx, jy + 2 * y + sy, palette[c])
    golds = [(255, 250, 200), (255, 232, 120), (248, 200, 40)]
    stamp_text(img, glyphs["small"], "PRESS ENTER", 160, 2, golds, (16, 14, 40), 1,
               shadow=(8, 8, 20))
    return img


# ----------------------------------------------------------------------------
# Checks
# ----------------------------------------------------------------------------

def shape_pixels(shape):
    inside = set()
    for left, top, right, bottom in BUMP_MAPS[shape]:
        for y in range(top * 4, bottom * 4 + 4):
            for x in range(left * 4, right * 4 + 4):
                inside.add((x, y))
    return inside


def check_silhouette(name, grid, shape):
    """The drawn creature must sit in its collision shape."""
    reach, share = SHAPE_SLACK.get(shape, SHAPE_SLACK["default"])
    inside = shape_pixels(shape)
    drawn = [(x, y) for y, row in enumerate(grid) for x, c in enumerate(row) if c != "."]
    outside = [(x, y) for x, y in drawn if (x, y) not in inside]
    rects = [(l * 4, t * 4, r * 4 + 3, b * 4 + 3) for l, t, r, b in BUMP_MAPS[shape]]
    for x, y in outside:
        near = any(max(l - x, x - r, 0) <= reach and max(t - y, y - b, 0) <= reach
                   for l, t, r, b in rects)
        if not near:
            raise ArtError("%s: pixel (%d, %d) lies far outside the %s shape"
                           % (name, x, y, shape))
    if drawn and len(outside) > share * len(drawn):
        raise ArtError("%s: %d of %d drawn pixels lie outside the %s shape"
                       % (name, len(outside), len(drawn), shape))
    covered = sum(1 for p in inside if grid[p[1]][p[0]] != ".")
    if covered < 0.35 * len(inside):
        raise ArtError("%s: the picture fills only %d of the %d pixels of its shape"
                       % (name, covered, len(inside)))
    if shape == "bluejay":
        if all(c == "." for c in grid[-1]):
            raise ArtError("%s: the hero's feet must touch the bottom row" % name)
        for part, rect in zip(("head", "body", "tail"), BUMP_MAPS["bluejay"]):
            left, top, right, bottom = rect
            if not any(grid[y][x] != "." for y in range(top * 4, bottom * 4 + 4)
                       for x in range(left * 4, right * 4 + 4)):
                raise ArtError("%s: nothing drawn in the %s" % (name, part))


def column_step(pixels, a, b):
    return sum(abs(p[a][i] - p[b][i]) for p in pixels for i in range(3)) / len(pixels)


def seam_roughness(pixels):
    """How much rougher the wrap from the last column to the first is than an
    ordinary step between neighbouring columns (1.0 = just as smooth)."""
    width = len(pixels[0])
    steps = [column_step(pixels, x, x + 1) for x in range(width - 1)]
    usual = max(sum(steps) / len(steps), 1.0)
    return column_step(pixels, width - 1, 0) / usual


def check_picture(entry, grid, pixels):
    index, name, width, height, kind, shape = entry
    if len(pixels) != height or any(len(row) != width for row in pixels):
        raise ArtError("%s: made %dx%d, must be %dx%d" % (
            name, len(pixels[0]) if pixels else 0, len(pixels), width, height))
    opaque = all(p != MAGENTA for row in pixels for p in row)
    if kind in ("background", "tile") and not opaque:
        raise ArtError("%s: must be opaque everywhere" % name)
    if kind == "background" and seam_roughness(pixels) > 2.0:
        raise ArtError("%s: the right edge does not run on into the left one" % name)
    if kind == "title":
        clear = sum(1 for row in pixels for p in row if p == MAGENTA)
        if clear < 0.6 * width * height:
            raise ArtError("%s: the title must leave most of the picture clear" % name)
    if name in MUST_COVER:
        left, top, right, bottom = MUST_COVER[name]
        if any(pixels[y][x] == MAGENTA for y in range(top, bottom + 1)
               for x in range(left, right + 1)):
            raise ArtError("%s: must be opaque from (%d, %d) to (%d, %d)"
                           % (name, left, top, right, bottom))
    if kind == "sprite" and all(p == MAGENTA for row in pixels for p in row):
        raise ArtError("%s: nothing drawn" % name)
    if shape is not None and grid is not None:
        check_silhouette(name, grid, shape)


# ----------------------------------------------------------------------------
# Making everything
# ----------------------------------------------------------------------------

def make_all(art_dir=ART_DIR):
    """Return {relative path below data/: bytes} for every generated file."""
    palette, pictures, glyphs = load_art(art_dir)
    for kind in ("big", "small"):
        needed = set("BLUEJAY" if kind == "big" else "PRESENTR")
        missing = needed - set(glyphs[kind])
        if missing:
            raise ArtError("missing %s title letters: %s" % (kind, "".join(sorted(missing))))
    files = {}
    drawn = set()
    for entry in PICTURES:
        index, name, width, height, kind, shape = entry
        grid = None
        if kind == "background":
            pixels = BACKGROUNDS[name]()
        elif kind == "title":
            pixels = title_picture(pictures, palette, glyphs)
        else:
            if name not in pictures:
                raise ArtError("no art for picture %d, %s" % (index, name))
            grid = pictures[name]
            pixels = grid_to_pixels(grid, palette)
            drawn.add(name)
        check_picture(entry, grid, pixels)
        files["graphics/" + name] = bmp_bytes(pixels)
    if len(files) != len(PICTURES):
        raise ArtError("made %d pictures, the game has %d" % (len(files), len(PICTURES)))
    for shape, rects in BUMP_MAPS.items():
        text = "".join("%d %d %d %d\n" % r for r in rects)
        files["bump_maps/%s.map" % shape] = text.encode("ascii")
    return files


def write_all(files, data_dir):
    for rel, content in sorted(files.items()):
        path = os.path.join(data_dir, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(content)


def check_against(files, data_dir):
    """Compare freshly made files with data_dir; return a list of differences."""
    problems = []
    with tempfile.TemporaryDirectory() as tmp:
        write_all(files, tmp)
        for rel in sorted(files):
            committed = os.path.join(data_dir, rel)
            if not os.path.exists(committed):
                problems.append("missing: data/%s" % rel)
            elif not filecmp.cmp(os.path.join(tmp, rel), committed, shallow=False):
                problems.append("differs from its source: data/%s" % rel)
    for sub in ("graphics", "bump_maps"):
        top = os.path.join(data_dir, sub)
        for dirpath, _, names in os.walk(top):
            for n in names:
                rel = os.path.relpath(os.path.join(dirpath, n), data_dir).replace(os.sep, "/")
                if rel not in files and (n.endswith(".bmp") or n.endswith(".map")):
                    problems.append("not made by the generator: data/%s" % rel)
    return problems


def main(argv=None):
    parser = argparse.ArgumentParser(description="Make Bluejay's pictures and shapes.")
    parser.add_argument("--check", action="store_true",
                        help="compare with the files in data/ instead of writing them")
    parser.add_argument("--out", default=os.path.join(ROOT, "data"),
                        help="data directory to write (default: the repository's data/)")
    args = parser.parse_args(argv)
    try:
        files = make_all()
    except ArtError as e:
        print("make_pictures: error: %s" % e, file=sys.stderr)
        return 2
    if args.check:
        problems = check_against(files, args.out)
        for p in problems:
            print("make_pictures: %s" % p, file=sys.stderr)
        if problems:
            print("make_pictures: run python3 tools/make_pictures.py to rebuild",
                  file=sys.stderr)
            return 1
        print("make_pictures: all %d files match their sources" % len(files))
        return 0
    write_all(files, args.out)
    print("make_pictures: wrote %d files below %s" % (len(files), args.out))
    return 0


if __name__ == "__main__":
    sys.exit(main())
