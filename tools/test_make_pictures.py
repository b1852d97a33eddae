#!/usr/bin/env python3
"""Tests of the picture generator: python3 tools/test_make_pictures.py"""

import os
import struct
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_pictures as mp  # noqa: E402

PALETTE = ".  255 0 255  transparent\nK  0 0 0  black\nR  255 0 0  red\nY  255 255 0  yellow\n"


def art_dir(tmp, text):
    """An art directory holding the small palette and one art file."""
    with open(os.path.join(tmp, "palette.txt"), "w") as f:
        f.write(PALETTE)
    with open(os.path.join(tmp, "test.txt"), "w") as f:
        f.write(text)
    return tmp


class BmpTest(unittest.TestCase):
    def test_header_and_padding(self):
        pixels = [[(1, 2, 3), (4, 5, 6), (7, 8, 9)], [(10, 11, 12), (13, 14, 15), (16, 17, 18)]]
        data = mp.bmp_bytes(pixels)
        magic, size, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
        info = struct.unpack_from("<IiiHHII", data, 14)
        self.assertEqual(magic, b"BM")
        self.assertEqual(offset, 54)
        self.assertEqual(info, (40, 3, 2, 1, 24, 0, 24))   # rows of 9 bytes padded to 12
        self.assertEqual(size, len(data))
        self.assertEqual(len(data), 54 + 24)
        # bottom-up, blue first
        self.assertEqual(data[54:57], bytes((12, 11, 10)))
        self.assertEqual(data[63:66], bytes((0, 0, 0)))
        self.assertEqual(mp.read_bmp(data), pixels)


class ArtFormatTest(unittest.TestCase):
    def load(self, text):
        with tempfile.TemporaryDirectory() as tmp:
            return mp.load_art(art_dir(tmp, text))

    def test_reads_a_picture(self):
        rows = ["K" * 8] + ["KRRRRRRK"] * 6 + ["K" * 8]
        _, pictures, _ = self.load("picture misc/strength_mark.bmp\n" + "\n".join(rows) + "\n")
        self.assertEqual(pictures["misc/strength_mark.bmp"][1], list("KRRRRRRK"))

    def test_short_row_names_its_line(self):
        rows = ["K" * 8] * 3 + ["K" * 7] + ["K" * 8] * 4
        with self.assertRaisesRegex(mp.ArtError, r"test\.txt:5: row is 7 pixels long"):
            self.load("picture misc/strength_mark.bmp\n" + "\n".join(rows) + "\n")

    def test_missing_row(self):
        with self.assertRaisesRegex(mp.ArtError, "has 7 rows, its picture is 8 high"):
            self.load("picture misc/strength_mark.bmp\n" + "\n".join(["K" * 8] * 7) + "\n")

    def test_unknown_colour(self):
        rows = ["K" * 8] * 7 + ["KKKKKKKZ"]
        with self.assertRaisesRegex(mp.ArtError, "unknown colour character 'Z'"):
            self.load("picture misc/strength_mark.bmp\n" + "\n".join(rows) + "\n")

    def test_unknown_picture(self):
        with self.assertRaisesRegex(mp.ArtError, "not a picture of the game"):
            self.load("picture misc/nothing.bmp\nK\n")

    def test_from_recolour_overlay_and_scale(self):
        base = ["R" * 8] * 8
        text = ("picture misc/strength_mark.bmp\n" + "\n".join(base) + "\n\n"
                "picture misc/empty_mark.bmp\nfrom misc/strength_mark.bmp\nrecolour R=Y\n"
                + "\n".join(["K,,,,,,,"] + [",,,,,,,,"] * 7) + "\n\n"
                "picture cherry/cherry.bmp\nfrom misc/empty_mark.bmp\nscale 2\n")
        _, pictures, _ = self.load(text)
        empty = pictures["misc/empty_mark.bmp"]
        self.assertEqual(empty[0], list("KYYYYYYY"))
        self.assertEqual(empty[1], list("YYYYYYYY"))
        cherry = pictures["cherry/cherry.bmp"]
        self.assertEqual(len(cherry), 16)
        self.assertEqual(cherry[1][:4], list("KKYY"))

    def test_keep_needs_from(self):
        with self.assertRaisesRegex(mp.ArtError, "',' needs 'from'"):
            self.load("picture misc/strength_mark.bmp\n" + "\n".join([",KKKKKKK"] * 8) + "\n")

    def test_palette_keeps_magenta_for_transparency(self):
        with tempfile.TemporaryDirectory() as tmp:
            with open(os.path.join(tmp, "palette.txt"), "w") as f:
                f.write(PALETTE + "M  255 0 255  pink\n")
            with self.assertRaisesRegex(mp.ArtError, "only '.' may be magenta"):
                mp.read_palette(os.path.join(tmp, "palette.txt"))


class ShapeTest(unittest.TestCase):
    def test_small_overhang_is_allowed(self):
        grid = [["." for _ in range(16)] for _ in range(16)]
        for y in range(4, 12):
            for x in range(4, 12):
                grid[y][x] = "K"
        grid[0][0] = "K"      # one cell off the shape, diagonally
        mp.check_silhouette("mosquito", grid, "mosquito")

    def test_pixel_far_outside_is_caught(self):
        wire = [["K"] * 64 for _ in range(4)] + [["."] * 64 for _ in range(4)]
        mp.check_silhouette("wire", wire, "wire")
        wire[5][3] = "K"
        with self.assertRaisesRegex(mp.ArtError, r"pixel \(3, 5\) lies far outside the wire"):
            mp.check_silhouette("wire", wire, "wire")
        ghost = [["." for _ in range(32)] for _ in range(32)]
        for y in range(4, 28):
            for x in range(4, 28):
                ghost[y][x] = "K"
        ghost[31][16] = "K"   # 4 pixels below: allowed
        mp.check_silhouette("ghost", ghost, "ghost")
        big = [["." for _ in range(64)] for _ in range(64)]
        for y in range(8, 56):
            for x in range(8, 56):
                big[y][x] = "K"
        big[0][30] = "K"      # 8 pixels above the master ecto: its crown
        mp.check_silhouette("master", big, "master_ecto")

    def test_too_much_outside_is_caught(self):
        grid = [["." for _ in range(16)] for _ in range(16)]
        for y in range(4, 12):
            for x in range(4, 12):
                grid[y][x] = "K"
        for y in range(0, 4):
            for x in range(0, 16):
                grid[y][x] = "K"
        with self.assertRaisesRegex(mp.ArtError, "drawn pixels lie outside the fly shape"):
            mp.check_silhouette("fly", grid, "fly")

    def test_hero_needs_its_feet_on_the_ground(self):
        grid = [["." for _ in range(24)] for _ in range(24)]
        for y in range(0, 23):
            for x in range(0, 24):
                grid[y][x] = "B"
        with self.assertRaisesRegex(mp.ArtError, "feet must touch the bottom row"):
            mp.check_silhouette("hero", grid, "bluejay")

    def test_empty_shape_is_caught(self):
        grid = [["." for _ in range(16)] for _ in range(16)]
        grid[5][5] = "K"
        with self.assertRaisesRegex(mp.ArtError, "fills only"):
            mp.check_silhouette("fly", grid, "fly")


class GeneratedFilesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.files = mp.make_all()

    def test_every_picture_at_its_size(self):
        self.assertEqual(len(mp.PICTURES), 80)
        self.assertEqual([p[0] for p in mp.PICTURES], list(range(80)))
        for index, name, width, height, kind, _ in mp.PICTURES:
            pixels = mp.read_bmp(self.files["graphics/" + name])
            self.assertEqual((len(pixels[0]), len(pixels)), (width, height), name)
            if kind in ("background", "tile"):
                self.assertNotIn(mp.MAGENTA, {p for row in pixels for p in row}, name)

    def test_yellow_cherry_is_the_one_up_file(self):
        self.assertEqual(mp.PICTURES[72][1], "cherry/one_up.bmp")

    def test_backgrounds_wrap_round(self):
        for name in mp.BACKGROUNDS:
            pixels = mp.read_bmp(self.files["graphics/" + name])
            self.assertLessEqual(mp.seam_roughness(pixels), 2.0, name)

    def test_a_pit_reads_as_a_drop_and_a_message_reads_on_every_background(self):
        def luminance(pixel):
            def linear(c):
                c /= 255
                return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4
            r, g, b = (linear(c) for c in pixel)
            return 0.2126 * r + 0.7152 * g + 0.0722 * b

        for name in mp.BACKGROUNDS:
            pixels = mp.read_bmp(self.files["graphics/" + name])
            # Where the ground would be (y 192 and below) the picture is dark,
            # less than half as bright as above the drop on the average.
            above = sum(luminance(p) for row in pixels[:mp.DROP_TOP] for p in row) / (mp.DROP_TOP * 256)
            for y in range(192, 224):
                row = sum(luminance(p) for p in pixels[y]) / 256
                self.assertLessEqual(row, min(above / 2, 0.08), (name, y))
            # White text over the band darkened to three quarters has a
            # contrast of at least 3 almost everywhere (a star may shine).
            poor = 0
            for row in pixels[:mp.MESSAGE_BAND]:
                for pixel in row:
                    dimmed = luminance(tuple(c * 3 / 4 for c in pixel))
                    if 1.05 / (dimmed + 0.05) < 3:
                        poor += 1
            self.assertLess(poor, 0.005 * mp.MESSAGE_BAND * 256, name)

    def test_title_is_mostly_clear(self):
        pixels = mp.read_bmp(self.files["graphics/misc/title.bmp"])
        clear = sum(p == mp.MAGENTA for row in pixels for p in row)
        self.assertGreater(clear, 0.6 * 256 * 224)
        self.assertLess(clear, 0.95 * 256 * 224)

    def test_shape_files(self):
        maps = {k: v for k, v in self.files.items() if k.startswith("bump_maps/")}
        self.assertEqual(len(maps), 21)
        self.assertEqual(maps["bump_maps/bluejay.map"], b"3 0 5 2\n1 0 4 5\n0 2 1 4\n")
        self.assertEqual(maps["bump_maps/wire.map"], b"0 0 15 0\n")
        self.assertEqual(maps["bump_maps/master_ecto.map"], b"2 2 13 13\n")
        for name, rects in mp.BUMP_MAPS.items():
            for left, top, right, bottom in rects:
                self.assertLessEqual(left, right, name)
                self.assertLessEqual(top, bottom, name)

    def test_creature_shapes_are_symmetric(self):
        sizes = {p[5]: (p[2], p[3]) for p in mp.PICTURES if p[5]}
        for name, rects in mp.BUMP_MAPS.items():
            if name in ("bluejay", "cherry", "wire"):
                continue
            cells = sizes[name][0] // 4
            for left, _, right, _ in rects:
                self.assertEqual(left, cells - 1 - right, name)

    def test_runs_are_identical(self):
        self.assertEqual(mp.make_all(), self.files)

    def test_check_finds_a_changed_file(self):
        with tempfile.TemporaryDirectory() as tmp:
            mp.write_all(self.files, tmp)
            self.assertEqual(mp.check_against(self.files, tmp), [])
            with open(os.path.join(tmp, "bump_maps", "egg.map"), "w") as f:
                f.write("0 0 3 3\n")
            os.remove(os.path.join(tmp, "graphics", "egg", "egg.bmp"))
            with open(os.path.join(tmp, "graphics", "egg", "stray.bmp"), "wb") as f:
                f.write(b"BM")
            problems = mp.check_against(self.files, tmp)
            self.assertEqual(len(problems), 3)
            self.assertTrue(any("egg.map" in p for p in problems))
            self.assertTrue(any("missing: data/graphics/egg/egg.bmp" == p for p in problems))
            self.assertTrue(any("stray.bmp" in p for p in problems))


if __name__ == "__main__":
    unittest.main()
