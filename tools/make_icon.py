#!/usr/bin/env python3
"""Makes the desktop icons of the game from its own small picture of the
hero (data/graphics/bluejay/icon.bmp): PNG files at whole multiples of its
size, every pixel a sharp square, the library's mask colour (magenta)
see-through.

    python3 tools/make_icon.py [--source BMP] OUT_DIR

writes OUT_DIR/hicolor/NxN/apps/bluejay.png for N in 16 32 48 64 128 256,
the layout of the desktop's icon theme folders.
"""

import argparse
import os
import struct
import sys
import zlib

DEFAULT_SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data",
                              "graphics", "bluejay", "icon.bmp")
SIZES = (16, 32, 48, 64, 128, 256)
MASK = (255, 0, 255)


def read_bmp(data):
    """The pixels of an uncompressed BMP of 8, 24 or 32 bits: (width, height,
    rows of (r, g, b) from the top)."""
    if data[:2] != b"BM":
        raise ValueError("not a BMP file")
    offset = struct.unpack_from("<I", data, 10)[0]
    header_size, width, height, _, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    if compression not in (0, 3) or bits not in (8, 24, 32) or width <= 0 or height == 0:
        raise ValueError("unsupported BMP: %d bits, compression %d" % (bits, compression))
    palette = []
    if bits == 8:
        colours = struct.unpack_from("<I", data, 46)[0] or 256
        start = 14 + header_size
        for i in range(colours):
            b, g, r = data[start + 4 * i:start + 4 * i + 3]
            palette.append((r, g, b))
    stride = (width * bits // 8 + 3) & ~3
    rows = []
    for row in range(abs(height)):
        at = offset + row * stride
        if bits == 8:
            pixels = [palette[index] for index in data[at:at + width]]
        else:
            step = bits // 8
            pixels = [(data[at + step * x + 2], data[at + step * x + 1], data[at + step * x])
                      for x in range(width)]
        rows.append(pixels)
    if height > 0:          # stored from the bottom up
        rows.reverse()
    return width, abs(height), rows


def scale(rows, factor):
    """Every pixel a factor x factor square, the mask colour see-through:
    rows of (r, g, b, a)."""
    out = []
    for row in rows:
        wide = []
        for pixel in row:
            rgba = (0, 0, 0, 0) if tuple(pixel) == MASK else tuple(pixel) + (255,)
            wide.extend([rgba] * factor)
        out.extend([wide] * factor)
    return out


def png(rows):
    """An RGBA PNG file of the rows."""
    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\x00" + bytes(value for pixel in row for value in pixel) for row in rows)

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("output", help="the folder to write the icon theme folders into")
    parser.add_argument("--source", default=DEFAULT_SOURCE, help="the picture (default: the game's icon)")
    args = parser.parse_args(argv)
    with open(args.source, "rb") as handle:
        width, height, rows = read_bmp(handle.read())
    for size in SIZES:
        factor = max(1, size // max(width, height))
        folder = os.path.join(args.output, "hicolor", "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "bluejay.png"), "wb") as handle:
            handle.write(png(scale(rows, factor)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
