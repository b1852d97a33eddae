#!/usr/bin/env python3
"""Tests of the software-centre description maker.

    python3 tools/test_make_metainfo.py
"""

import os
import sys
import unittest
import xml.etree.ElementTree as ElementTree

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_metainfo as mm  # noqa: E402

CHANGELOG = """bluejay (1:2.1-3) unstable; urgency=medium

  * Rocks & mud: the cave
    of falling rocks.
  * A <faster> editor.

 -- Someone <someone@example.org>  Sat, 05 Dec 2026 23:30:00 -0200

bluejay (2.0) unstable; urgency=low

  * The first levels.

 -- Someone <someone@example.org>  Mon, 02 Nov 2026 10:00:00 +0000
"""

TEMPLATE = """<component>
  <id>x</id>
  <releases/>
</component>
"""


class Make_Metainfo_Test(unittest.TestCase):
    def test_entries_become_releases_newest_first_with_the_games_own_version(self):
        releases = mm.read_releases(CHANGELOG)
        self.assertEqual([(version, date) for version, date, _ in releases],
                         [("2.1", "2026-12-05"), ("2.0", "2026-11-02")])
        self.assertEqual(releases[0][2], ["Rocks & mud: the cave of falling rocks.", "A <faster> editor."])

    def test_the_description_is_valid_xml_with_the_items_escaped(self):
        root = ElementTree.fromstring(mm.make_metainfo(TEMPLATE, CHANGELOG))
        release = root.find("releases/release")
        self.assertEqual(release.get("version"), "2.1")
        self.assertEqual([item.text for item in release.iter("li")],
                         ["Rocks & mud: the cave of falling rocks.", "A <faster> editor."])
        self.assertEqual(len(root.findall("releases/release")), 2)

    def test_a_changelog_without_a_whole_entry_or_a_template_without_the_place_fails(self):
        with self.assertRaises(ValueError):
            mm.read_releases("bluejay (1.0) unstable; urgency=low\n\n  * Unfinished.\n")
        with self.assertRaises(ValueError):
            mm.make_metainfo("<component/>", CHANGELOG)


if __name__ == "__main__":
    unittest.main()
