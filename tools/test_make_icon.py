#!/usr/bin/env python3
"""Tests of the desktop icon maker.

    python3 tools/test_make_icon.py
"""

import os
import struct
import sys
import tempfile
import unittest
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_icon as mi  # noqa: E402


def bmp(width, height, pixels, bits):
    """A bottom-up BMP of rows of (r, g, b) given from the top."""
    palette = []
    if bits == 8:
        palette = sorted({p for row in pixels for p in row})
    stride = (width * bits // 8 + 3) & ~3
    body = b""
    for row in reversed(pixels):
        if bits == 8:
            line = bytes(palette.index(p) for p in row)
        else:
            line = b"".join(bytes((b, g, r)) + (b"\x00" if bits == 32 else b"") for r, g, b in row)
        body += line + b"\x00" * (stride - len(line))
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(body), 0, 0, len(palette), 0)
    return header + info + table + body


def read_png(data):
    """(width, height, rows of (r, g, b, a)) of an RGBA PNG without filters."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    at, idat = 8, b""
    while at < len(data):
        length = struct.unpack(">I", data[at:at + 4])[0]
        kind, body = data[at + 4:at + 8], data[at + 8:at + 8 + length]
        crc = struct.unpack(">I", data[at + 8 + length:at + 12 + length])[0]
        assert crc == zlib.crc32(kind + body) & 0xFFFFFFFF
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            assert (depth, colour) == (8, 6)
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    raw = zlib.decompress(idat)
    rows, stride = [], 1 + 4 * width
    for y in range(height):
        line = raw[y * stride:(y + 1) * stride]
        assert line[0] == 0
        rows.append([tuple(line[1 + 4 * x:5 + 4 * x]) for x in range(width)])
    return width, height, rows


RED, BLUE, MAGENTA = (200, 10, 20), (30, 60, 210), (255, 0, 255)
PICTURE = [[RED, BLUE, MAGENTA], [MAGENTA, RED, BLUE]]


class Read(unittest.TestCase):
    def test_eight_twenty_four_and_thirty_two_bits(self):
        for bits in (8, 24, 32):
            width, height, rows = mi.read_bmp(bmp(3, 2, PICTURE, bits))
            self.assertEqual((width, height), (3, 2))
            self.assertEqual(rows, PICTURE, bits)

    def test_not_a_picture(self):
        with self.assertRaises(ValueError):
            mi.read_bmp(b"GIF89a" + b"\x00" * 60)


class Scale(unittest.TestCase):
    def test_square_pixels_and_a_see_through_mask(self):
        rows = mi.scale(PICTURE, 2)
        self.assertEqual(len(rows), 4)
        self.assertEqual(rows[0], [RED + (255,)] * 2 + [BLUE + (255,)] * 2 + [(0, 0, 0, 0)] * 2)
        self.assertEqual(rows[1], rows[0])
        self.assertEqual(rows[2][0], (0, 0, 0, 0))
        self.assertEqual(rows[3][2], RED + (255,))


class Main(unittest.TestCase):
    def test_every_size_from_the_games_icon(self):
        with tempfile.TemporaryDirectory() as folder:
            self.assertEqual(mi.main([folder]), 0)
            _, _, original = mi.read_bmp(open(mi.DEFAULT_SOURCE, "rb").read())
            for size in mi.SIZES:
                path = os.path.join(folder, "hicolor", "%dx%d" % (size, size), "apps", "bluejay.png")
                width, height, rows = read_png(open(path, "rb").read())
                self.assertEqual((width, height), (size, size))
                factor = size // len(original)
                # The top-left corner is see-through; the hero's pixels keep
                # their colour in whole squares.
                self.assertEqual(rows[0][0][3], 0)
                for y in range(0, size, factor):
                    for x in range(0, size, factor):
                        pixel = original[y // factor][x // factor]
                        expected = (0, 0, 0, 0) if pixel == MAGENTA else pixel + (255,)
                        self.assertEqual(rows[y + factor - 1][x + factor - 1], expected)


if __name__ == "__main__":
    unittest.main()
