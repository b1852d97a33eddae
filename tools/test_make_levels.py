#!/usr/bin/env python3
"""Tests of the level drawing tool: python3 tools/test_make_levels.py"""

import io
import os
import sys
import tempfile
import unittest
from contextlib import redirect_stderr, redirect_stdout

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_levels as ml  # noqa: E402

SKETCH = """# a meadow with a step, a cherry and a pipe
background 5
music 2
pointer 1 7
map
..........c.........
..J...B.........P...
GGGGGGGGGGGGGGGGGGGG
"""


class LevelToolTest(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.TemporaryDirectory()
        self.folder = self.scratch.name
        self.sketch = os.path.join(self.folder, "sketch.txt")
        with open(self.sketch, "w") as handle:
            handle.write(SKETCH)

    def tearDown(self):
        self.scratch.cleanup()

    def run_tool(self, *arguments):
        out, err = io.StringIO(), io.StringIO()
        with redirect_stdout(out), redirect_stderr(err):
            status = ml.main(["make_levels.py"] + list(arguments), target=self.folder)
        return status, out.getvalue(), err.getvalue()

    def map_path(self, number):
        return os.path.join(self.folder, "level_%d.map" % number)

    def test_build_writes_the_map_the_game_reads(self):
        self.assertEqual(self.run_tool("--build", self.sketch, "4")[0], 0)
        with open(self.map_path(4)) as handle:
            numbers = [int(line) for line in handle]
        # background, music, the hero at the second cell of the middle row
        self.assertEqual(numbers[:5], [5, 2, 2, 32, 192])
        self.assertEqual(numbers[5], -1)
        self.assertEqual(numbers[6:9], [1004, 160, 176])  # the cherry comes first
        self.assertEqual(len(numbers), 2 + 3 + 1 + 3 * 23 + 1 + ml.POINTERS)
        self.assertEqual(numbers[-ml.POINTERS + 1], 7)

    def test_drawing_a_built_map_gives_the_sketch_back(self):
        self.run_tool("--build", self.sketch, "4")
        status, drawing, _ = self.run_tool("--draw", "4")
        self.assertEqual(status, 0)
        self.assertEqual(drawing, SKETCH.split("\n", 1)[1])

    def test_entries_off_the_grid_or_sharing_a_cell_are_named_not_drawn(self):
        with open(self.map_path(9), "w") as handle:
            handle.write("0 0 2 32 192 6 40 100 4 32 192 -1 1005 0 208 -1 " + "0 " * ml.POINTERS)
        status, drawing, errors = self.run_tool("--draw", "9")
        self.assertEqual(status, 1)
        self.assertIn("type 6 at (40, 100)", errors)
        self.assertIn("type 4 at (32, 192)", errors)
        self.assertTrue(drawing.endswith("..J\nG..\n"))

    def test_a_failed_build_keeps_the_old_map(self):
        with open(self.map_path(3), "w") as handle:
            handle.write("old")
        with open(self.sketch, "w") as handle:
            handle.write("map\nGGG\n")  # no hero
        status, _, errors = self.run_tool("--build", self.sketch, "3")
        self.assertEqual(status, 1)
        self.assertIn("exactly one hero", errors)
        with open(self.map_path(3)) as handle:
            self.assertEqual(handle.read(), "old")
        self.assertEqual(sorted(os.listdir(self.folder)), ["level_3.map", "sketch.txt"])

    def test_unreadable_maps_and_numbers_are_refused(self):
        with open(self.map_path(2), "w") as handle:
            handle.write("0 0 2 32")
        self.assertEqual(self.run_tool("--draw", "2")[0], 1)
        self.assertEqual(self.run_tool("--draw", "120")[0], 1)
        self.assertEqual(self.run_tool("--draw", "x")[0], 1)
        self.assertEqual(self.run_tool("--draw", "7")[0], 1)  # no such file
        self.assertEqual(self.run_tool()[0], 2)


if __name__ == "__main__":
    unittest.main()
