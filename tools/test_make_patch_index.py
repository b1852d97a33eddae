#!/usr/bin/env python3
"""Tests of the patch index converter.

    python3 tools/test_make_patch_index.py
"""

import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_patch_index as mpi  # noqa: E402

SAMPLE = """dir /patches
# a comment
drumset 0

 35\tDrum_000/035_Kick_1.pat amp=100
 38\tDrum_000/038_Snare_1.pat

bank 0

 0\tTone_000/000_Piano.pat amp=120 pan=center
 9\tTone_000/009_Glockenspiel.pat
 13\tTone_000/013_Xylophone.pat
 32\tTone_000/032_Acoustic_Bass.pat

bank 1
 0\tTone_001/000_Other_Piano.pat
"""


class Parse(unittest.TestCase):
    def test_sections_and_folder(self):
        melodic, drums = mpi.parse(SAMPLE)
        self.assertEqual(melodic, {0: "/patches/Tone_000/000_Piano.pat",
                                   9: "/patches/Tone_000/009_Glockenspiel.pat",
                                   13: "/patches/Tone_000/013_Xylophone.pat",
                                   32: "/patches/Tone_000/032_Acoustic_Bass.pat"})
        self.assertEqual(drums, {35: "/patches/Drum_000/035_Kick_1.pat",
                                 38: "/patches/Drum_000/038_Snare_1.pat"})

    def test_relative_folder_is_taken_from_the_index(self):
        melodic, _ = mpi.parse("dir pats\nbank 0\n1 a.pat\n", "/etc/x")
        self.assertEqual(melodic, {1: "/etc/x/pats/a.pat"})


class Stand_In(unittest.TestCase):
    def test_own_patch_nearest_of_family_or_none(self):
        melodic, _ = mpi.parse(SAMPLE)
        self.assertEqual(mpi.stand_in(0, melodic), 0)
        self.assertEqual(mpi.stand_in(10, melodic), 9)    # music box: glockenspiel
        self.assertEqual(mpi.stand_in(11, melodic), 9)    # a tie takes the lower
        self.assertEqual(mpi.stand_in(12, melodic), 13)
        self.assertEqual(mpi.stand_in(39, melodic), 32)   # synth bass 2: a bass
        self.assertIsNone(mpi.stand_in(16, melodic))      # no organ at all


class Convert(unittest.TestCase):
    def setUp(self):
        self.text = mpi.convert(*mpi.parse(SAMPLE))
        self.lines = [line for line in self.text.splitlines() if not line.startswith("#")]

    def test_programs_count_from_one(self):
        self.assertIn("1 /patches/Tone_000/000_Piano.pat", self.lines)
        self.assertIn("10 /patches/Tone_000/009_Glockenspiel.pat", self.lines)
        self.assertIn("33 /patches/Tone_000/032_Acoustic_Bass.pat", self.lines)
        self.assertNotIn("0 /patches/Tone_000/000_Piano.pat", self.lines)

    def test_drums_by_key_inside_one_multipatch_block(self):
        begin = self.lines.index("129-256 begin_multipatch default blank")
        end = self.lines.index("end_multipatch")
        self.assertEqual(self.lines[begin + 1:end],
                         ["35 /patches/Drum_000/035_Kick_1.pat", "38 /patches/Drum_000/038_Snare_1.pat"])
        self.assertEqual(end, len(self.lines) - 1)

    def test_missing_programs_borrow_from_their_family(self):
        self.assertIn("11 /patches/Tone_000/009_Glockenspiel.pat", self.lines)   # program 10
        self.assertIn("40 /patches/Tone_000/032_Acoustic_Bass.pat", self.lines)  # program 39
        self.assertFalse(any(line.startswith("17 ") for line in self.lines))      # no organs

    def test_no_options_of_the_other_player(self):
        self.assertNotIn("amp=", self.text)
        self.assertNotIn("pan=", self.text)
        self.assertNotIn("Tone_001", self.text)


class Main(unittest.TestCase):
    def test_writes_the_index(self):
        with tempfile.TemporaryDirectory() as folder:
            source = os.path.join(folder, "in.cfg")
            output = os.path.join(folder, "out.cfg")
            with open(source, "w") as handle:
                handle.write(SAMPLE)
            self.assertEqual(mpi.main(["--source", source, output]), 0)
            with open(output) as handle:
                self.assertEqual(handle.read(), mpi.convert(*mpi.parse(SAMPLE)))
            self.assertFalse(os.path.exists(output + ".tmp"))

    def test_missing_or_empty_source_fails(self):
        with tempfile.TemporaryDirectory() as folder:
            output = os.path.join(folder, "out.cfg")
            empty = os.path.join(folder, "empty.cfg")
            open(empty, "w").close()
            stderr = sys.stderr
            sys.stderr = open(os.devnull, "w")
            try:
                self.assertEqual(mpi.main(["--source", os.path.join(folder, "none.cfg"), output]), 1)
                self.assertEqual(mpi.main(["--source", empty, output]), 1)
            finally:
                sys.stderr.close()
                sys.stderr = stderr
            self.assertFalse(os.path.exists(output))

    @unittest.skipUnless(os.path.exists(mpi.DEFAULT_SOURCE), "the free patch set is not installed")
    def test_the_installed_free_set(self):
        with open(mpi.DEFAULT_SOURCE, encoding="latin-1") as handle:
            melodic, drums = mpi.parse(handle.read(), os.path.dirname(mpi.DEFAULT_SOURCE))
        self.assertIn(0, melodic)
        self.assertIn(36, drums)      # a bass drum
        for path in list(melodic.values()) + list(drums.values()):
            self.assertTrue(os.path.isabs(path), path)


if __name__ == "__main__":
    unittest.main()
