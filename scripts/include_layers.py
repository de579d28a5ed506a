#!/usr/bin/env python3
"""Fails when a file includes across a layer it must not cross.

Two rules, on the include graph include_cycles.py reads (a header and the sources of its name are
one unit; an include leads where the compiler finds it):
- What ships (the plugin, its bridge to the host, the rules, the operator's programs and what they
  share, the module runtime, the example plugin) includes nothing of the scaffolding that stands
  in for the server around it: the stand-in, the sandbox, the tests.
- Outside standin/ and tests/standin/, sources see the stand-in through its face: they include
  none of the headers given as its inside.
Each crossing is printed with the include line that makes it.

Usage: include_layers.py [--root DIR] [--include-dir DIR]... [--standin-inside HEADER]...
       (HEADER as "World.h"; --include-dir as for include_cycles.py)
Exit status: 0 without a crossing, 1 with one.
"""
import argparse
import importlib.util
import os
import sys

_SPEC = importlib.util.spec_from_file_location(
    "include_cycles", os.path.join(os.path.dirname(os.path.abspath(__file__)), "include_cycles.py"))
include_cycles = importlib.util.module_from_spec(_SPEC)
_SPEC.loader.exec_module(include_cycles)

SHIPPED = ("host-bridge", "rules", "plugin", "common", "tools", "crt", "examples")
SCAFFOLDING = ("standin", "sandbox", "tests")
STANDIN_OWN = ("standin", "tests/standin")


def under(unit, folders):
    return any(unit == folder or unit.startswith(folder + "/") for folder in folders)


def crossings(arrows, standin_inside):
    """"file:line: unit includes unit (why)" for every arrow that crosses a layer."""
    inside = {"standin/" + os.path.splitext(header)[0] for header in standin_inside}
    for unit in sorted(arrows):
        for target, where in sorted(arrows[unit].items()):
            if under(unit, SHIPPED) and under(target, SCAFFOLDING):
                yield f"{where}: {unit} includes {target}: what ships includes no scaffolding"
            elif target in inside and not any(os.path.dirname(unit) == own for own in STANDIN_OWN):
                yield (f"{where}: {unit} includes {target}: the stand-in's inside, seen only "
                       "from standin/ and tests/standin/")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--root", default=".")
    parser.add_argument("--include-dir", action="append", dest="include_dirs")
    parser.add_argument("--standin-inside", action="append", default=[])
    args = parser.parse_args()
    include_dirs = [os.path.normpath(d) for d in (args.include_dirs or ["."])]
    units, arrows = include_cycles.include_graph(args.root, include_dirs)
    found = list(crossings(arrows, args.standin_inside))
    if found:
        print(f"{len(found)} include(s) across a layer:")
        print("\n".join("  " + line for line in found))
        return 1
    print(f"no include across a layer among {len(units)} units")
    return 0


if __name__ == "__main__":
    sys.exit(main())
