#!/usr/bin/env python3
"""scripts/include_cycles.py on small trees: a circle of includes fails naming each include that
closes it, a tree without one passes.

Usage: include_cycles_test.py SCRIPT
"""
import os
import subprocess
import sys
import tempfile
import unittest

SCRIPT = None


def run(files, *include_dirs):
    """The script's exit status and output on a tree of `files` (path -> text)."""
    with tempfile.TemporaryDirectory() as root:
        for path, text in files.items():
            os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
            with open(os.path.join(root, path), "w", encoding="utf-8") as file:
                file.write(text)
        options = [f"--include-dir={d}" for d in include_dirs]
        done = subprocess.run([sys.executable, SCRIPT, "--root", root, *options],
                              capture_output=True, text=True, check=False)
        return done.returncode, done.stdout


# a/Low.h is included by a/High.cpp; a/High.h by main.cpp: a ladder without a circle.
LADDER = {
    "a/Low.h": "#pragma once\n",
    "a/Low.cpp": '#include "a/Low.h"\n',
    "a/High.h": '#pragma once\n#include <vector>\n',
    "a/High.cpp": '#include "a/High.h"\n\n#include "a/Low.h"\n',
    "main.cpp": '#include "a/High.h"\n',
}


class IncludeCyclesTest(unittest.TestCase):
    def test_a_tree_without_a_circle_passes(self):
        status, out = run(LADDER)
        self.assertEqual(status, 0, out)
        self.assertIn("no include cycle among 3 units", out)

    def test_a_source_including_the_header_of_one_that_includes_its_own_fails(self):
        # Neither header includes the other: only the sources close the circle, as in a unit
        # that calls back into the one that calls it.
        status, out = run({**LADDER, "a/Low.cpp": '#include "a/Low.h"\n#include "a/High.h"\n'})
        self.assertEqual(status, 1, out)
        self.assertIn("a/High -> a/Low -> a/High", out)
        self.assertIn("a/High.cpp:3: a/High includes a/Low", out)
        self.assertIn("a/Low.cpp:2: a/Low includes a/High", out)

    def test_a_circle_of_three_through_include_roots_and_neighbours_fails(self):
        status, out = run({
            "src/One.h": '#include "lib/Two.h"\n',       # below the include root src/
            "src/lib/Two.h": '#include "Three.h"\n',     # beside it
            "src/lib/Three.h": '#include "src/One.h"\n',  # below the tree's root
            "src/Apart.h": '#include "missing/Nowhere.h"\n#include <string>\n',
        }, ".", "src")
        self.assertEqual(status, 1, out)
        self.assertIn("1 include cycle(s) among 4 units", out)
        self.assertIn("src/One -> src/lib/Two -> src/lib/Three -> src/One", out)

    def test_folders_of_others_and_builds_are_not_read(self):
        circle = {"third_party/x/A.h": '#include "third_party/x/B.h"\n',
                  "third_party/x/B.h": '#include "third_party/x/A.h"\n',
                  "build/gen/C.h": '#include "build/gen/D.h"\n',
                  "build/gen/D.h": '#include "build/gen/C.h"\n'}
        status, out = run({**LADDER, **circle})
        self.assertEqual(status, 0, out)


if __name__ == "__main__":
    SCRIPT = sys.argv.pop(1)
    unittest.main()
