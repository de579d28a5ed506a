#!/usr/bin/env python3
"""scripts/include_layers.py on small trees: what ships including the scaffolding fails, and so
does the stand-in's inside included from outside standin/ and tests/standin/; includes the other
way pass.

Usage: include_layers_test.py SCRIPT
"""
import os
import subprocess
import sys
import tempfile
import unittest

SCRIPT = None

# The stand-in's face and one header of its inside, the rules, and a plugin source using them.
BASE = {
    "standin/StandIn.h": '#pragma once\n#include "standin/World.h"\n',
    "standin/World.h": "#pragma once\n",
    "standin/World.cpp": '#include "standin/World.h"\n',
    "rules/Match.h": "#pragma once\n",
    "common/Utf8.h": "#pragma once\n",
    "plugin/Filter.cpp": '#include "rules/Match.h"\n#include "common/Utf8.h"\n',
}


def run(extra):
    """The script's exit status and output on BASE with `extra` (path -> text) added."""
    with tempfile.TemporaryDirectory() as root:
        for path, text in {**BASE, **extra}.items():
            os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
            with open(os.path.join(root, path), "w", encoding="utf-8") as file:
                file.write(text)
        done = subprocess.run([sys.executable, SCRIPT, "--root", root, "--include-dir=.",
                               "--include-dir=tests", "--standin-inside=World.h"],
                              capture_output=True, text=True, check=False)
        return done.returncode, done.stdout


class IncludeLayersTest(unittest.TestCase):
    def test_each_crossing_fails_naming_the_include(self):
        cases = [
            ("plugin/Entry.cpp", '#include "standin/StandIn.h"\n', "plugin/Entry.cpp:1"),
            ("tools/check/Main.cpp", '\n#include "sandbox/Console.h"\n', "tools/check/Main.cpp:2"),
            ("common/Rcon.cpp", '#include "support/Fixture.h"\n', "common/Rcon.cpp:1"),
            ("sandbox/Run.cpp", '#include "standin/World.h"\n', "sandbox/Run.cpp:1"),
            ("tests/plugin/T.cpp", '#include "standin/World.h"\n', "tests/plugin/T.cpp:1"),
        ]
        for path, text, where in cases:
            with self.subTest(path=path):
                extra = {path: text, "sandbox/Console.h": "#pragma once\n",
                         "tests/support/Fixture.h": "#pragma once\n"}
                status, output = run(extra)
                self.assertEqual(status, 1, output)
                self.assertIn(where, output)

    def test_includes_down_the_layers_pass(self):
        extra = {
            "sandbox/Run.cpp": '#include "standin/StandIn.h"\n#include "plugin/Filter.cpp"\n',
            "tests/standin/WorldTest.cpp": '#include "standin/World.h"\n',
            "tests/plugin/T.cpp": '#include "rules/Match.h"\n#include "standin/StandIn.h"\n',
            "tools/check/Main.cpp": '#include "common/Utf8.h"\n#include "rules/Match.h"\n',
        }
        status, output = run(extra)
        self.assertEqual(status, 0, output)


if __name__ == "__main__":
    SCRIPT = sys.argv.pop(1)
    unittest.main()
