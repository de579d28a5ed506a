#!/usr/bin/env python3
"""No source outside standin/ and tests/standin/ includes a header of the stand-in's inside: the
rest of the repository sees the stand-in through its face: a header by concern (standin/World.h,
ScratchServer.h, Registries.h, HeapAndFaults.h, ...) and the journal's reading side.

Usage: inside_headers.py --source DIR HEADER...   (HEADER: a header of the inside, as "World.h")
"""
import argparse
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*"standin/([^"]+)"', re.MULTILINE)
OWN = ("standin", os.path.join("tests", "standin"))
SKIPPED = {"build", ".git", "node_modules"}


def offenders(source, inside):
    for root, dirs, files in os.walk(source):
        dirs[:] = [d for d in dirs if d not in SKIPPED]
        relative = os.path.relpath(root, source)
        if relative in OWN:
            continue
        for name in files:
            if not name.endswith((".cpp", ".h")):
                continue
            path = os.path.join(root, name)
            with open(path, encoding="utf-8") as file:
                text = file.read()
            for match in INCLUDE.finditer(text):
                if match.group(1) in inside:
                    line = text.count("\n", 0, match.start()) + 1
                    yield f"{os.path.relpath(path, source)}:{line}: includes standin/{match.group(1)}"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--source", required=True)
    parser.add_argument("headers", nargs="+")
    args = parser.parse_args()
    found = list(offenders(args.source, set(args.headers)))
    if found:
        print("The stand-in's inside is included outside standin/ and tests/standin/; include "
              "the stand-in's face instead (its headers are listed in standin/CMakeLists.txt):")
        print("\n".join(found))
        sys.exit(1)
    print(f"no source outside standin/ and tests/standin/ includes any of {len(args.headers)} "
          "headers of the stand-in's inside")


if __name__ == "__main__":
    main()
