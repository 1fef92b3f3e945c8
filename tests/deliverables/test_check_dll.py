#!/usr/bin/env python3
"""The DLL check on libraries built to break one rule each.

Reads the cross build's objdump, machine and output folder from VT_OBJDUMP,
VT_MACHINE and VT_BIN, and the fixture bitmaps from VT_BITMAPS.
"""

import os
import re
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_dll  # noqa: E402

OBJDUMP = os.environ["VT_OBJDUMP"]
MACHINE = os.environ["VT_MACHINE"]
BIN = os.environ["VT_BIN"]
BITMAPS = os.environ["VT_BITMAPS"]
OTHER_MACHINE = {"i386": "x86-64", "x86-64": "i386"}[MACHINE]


def dll(name):
    return os.path.join(BIN, name + ".dll")


def bitmap(name):
    return os.path.join(BITMAPS, name)


# The fixture library carries 101 = wide_3x2.bmp and 102 = grey_4x4.bmp.
CARRIED = {101: bitmap("wide_3x2.bmp"), 102: bitmap("grey_4x4.bmp")}

# (library, machine, expected bitmaps, patterns the problems must match one to one)
CASES = [
    ("bitmap_fixture_one", MACHINE, CARRIED, []),
    ("bitmap_fixture_one", MACHINE, None, []),
    ("bitmap_fixture_one", OTHER_MACHINE, None,
     [r"file format is not", r"architecture is not", r"optional header is not"]),
    ("bitmap_fixture_one", MACHINE, {101: bitmap("wide_3x2.bmp"), 103: bitmap("grey_4x4.bmp")},
     [r"bitmap 103 is missing", r"bitmap 102 is carried but not expected"]),
    ("bitmap_fixture_one", MACHINE, {101: bitmap("grey_4x4.bmp"), 102: bitmap("grey_4x4.bmp")},
     [r"bitmap 101 has 64 bytes, grey_4x4.bmp needs 1080"]),
    ("dll_fixture_split_entry", MACHINE, None, [r"VSTPluginMain and main are not one function"]),
    ("dll_fixture_extra_export", MACHINE, None, [r"exports \['VSTPluginMain', 'helper', 'main'\]"]),
]


class CheckDll(unittest.TestCase):
    def test_each_fault_is_reported_and_nothing_else(self):
        for library, machine, bitmaps, patterns in CASES:
            with self.subTest(library=library, machine=machine, bitmaps=bitmaps):
                found = check_dll.problems(OBJDUMP, dll(library), machine, bitmaps)
                self.assertEqual(len(found), len(patterns), found)
                for problem, pattern in zip(found, patterns):
                    self.assertRegex(problem, pattern)

    def test_runtime_dlls_are_refused(self):
        found = check_dll.problems(OBJDUMP, dll("dll_fixture_runtime_import"), MACHINE)
        self.assertTrue(any(re.search(r"imports libstdc\+\+-6\.dll", p) for p in found), found)
        for problem in found:
            self.assertRegex(problem, r"^imports \S+, which is not a system DLL$")

    def test_command_line_exit_code_follows_the_verdict(self):
        ok = ["--objdump", OBJDUMP, "--machine", MACHINE, dll("bitmap_fixture_one")]
        self.assertEqual(check_dll.main(ok), 0)
        self.assertEqual(check_dll.main(ok + ["--bitmap", "101=" + bitmap("wide_3x2.bmp")]), 1)
        self.assertEqual(check_dll.main(["--objdump", OBJDUMP, "--machine", MACHINE,
                                         dll("dll_fixture_split_entry")]), 1)


if __name__ == "__main__":
    unittest.main(verbosity=2)
