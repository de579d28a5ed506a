#!/usr/bin/env python3
"""Fails when the repository's C++ files include each other in a circle.

A header and the sources of the same name in one folder (Config.h, Config.cpp) are one unit, as a
reader takes them: "plugin/Config". An arrow leads from a unit to the unit of each header one of
its files includes with #include "...". A circle of arrows means no unit of it can be read, built
or tested without the others; each circle found is printed with the include lines that close it.

Where an include leads is found as the compiler finds it: beside the including file first, then
below each include root in the order given. Includes found nowhere (system and generated headers)
lead nowhere. Folders named build, node_modules or third_party, and hidden ones, are not read.

Usage: include_cycles.py [--root DIR] [--include-dir DIR]...
       (--include-dir relative to the root; the root itself by default)
Exit status: 0 without a circle, 1 with one.
"""
import argparse
import os
import re
import sys
from collections import defaultdict

INCLUDE = re.compile(r'^[ \t]*#[ \t]*include[ \t]*"([^"]+)"', re.MULTILINE)
SOURCE_ENDINGS = (".h", ".hpp", ".cpp", ".cc", ".c", ".inl", ".h.in")
SKIPPED = {"build", "node_modules", "third_party"}


def unit_of(path):
    """"plugin/Config" for plugin/Config.h, plugin/Config.cpp and plugin/Config.h.in."""
    folder, name = os.path.split(path)
    return os.path.join(folder, name.split(".", 1)[0]).replace(os.sep, "/")


def source_files(root):
    for folder, dirs, files in os.walk(root):
        dirs[:] = sorted(d for d in dirs if d not in SKIPPED and not d.startswith("."))
        for name in sorted(files):
            if name.endswith(SOURCE_ENDINGS):
                yield os.path.relpath(os.path.join(folder, name), root)


def resolve(root, including, written, include_dirs):
    """The file `written` names, relative to the root, or None when it is not in the tree."""
    for base in [os.path.dirname(including)] + include_dirs:
        candidate = os.path.normpath(os.path.join(base, written))
        if not candidate.startswith("..") and os.path.isfile(os.path.join(root, candidate)):
            return candidate
    return None


def include_graph(root, include_dirs):
    """Every unit, and unit -> {included unit: "file:line" of the first include that makes the
    arrow}."""
    units, arrows = set(), defaultdict(dict)
    for path in source_files(root):
        units.add(unit_of(path))
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as file:
            text = file.read()
        for match in INCLUDE.finditer(text):
            target = resolve(root, path, match.group(1), include_dirs)
            if target is None:
                continue
            source_unit, target_unit = unit_of(path), unit_of(target)
            if source_unit == target_unit:
                continue
            line = text.count("\n", 0, match.start()) + 1
            arrows[source_unit].setdefault(target_unit, f"{path}:{line}")
    return units, arrows


def circles(units, arrows):
    """The strongly connected sets of more than one unit (Tarjan's algorithm, without recursion),
    each as a sorted list."""
    index, low, on_stack, stack, found = {}, {}, set(), [], []
    for start in sorted(units):
        if start in index:
            continue
        work = [(start, iter(sorted(arrows.get(start, {}))))]
        index[start] = low[start] = len(index)
        stack.append(start)
        on_stack.add(start)
        while work:
            unit, targets = work[-1]
            advanced = False
            for target in targets:
                if target not in index:
                    index[target] = low[target] = len(index)
                    stack.append(target)
                    on_stack.add(target)
                    work.append((target, iter(sorted(arrows.get(target, {})))))
                    advanced = True
                    break
                if target in on_stack:
                    low[unit] = min(low[unit], index[target])
            if advanced:
                continue
            work.pop()
            if work:
                parent = work[-1][0]
                low[parent] = min(low[parent], low[unit])
            if low[unit] == index[unit]:
                members = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    members.append(member)
                    if member == unit:
                        break
                if len(members) > 1:
                    found.append(sorted(members))
    return sorted(found)


def one_circle(arrows, members):
    """A shortest way from the first member round to itself, within `members`."""
    first, inside = members[0], set(members)
    came_from = {}
    frontier = [first]
    while frontier:
        following = []
        for unit in frontier:
            for target in sorted(arrows.get(unit, {})):
                if target not in inside or target in came_from:
                    continue
                came_from[target] = unit
                if target == first:
                    following = []
                    break
                following.append(target)
            if first in came_from:
                break
        frontier = following
    way = [first]
    while True:
        way.append(came_from[way[-1]])
        if way[-1] == first:
            break
    return list(reversed(way))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--root", default=".")
    parser.add_argument("--include-dir", action="append", dest="include_dirs")
    args = parser.parse_args()
    include_dirs = [os.path.normpath(d) for d in (args.include_dirs or ["."])]
    units, arrows = include_graph(args.root, include_dirs)
    found = circles(units, arrows)
    if not found:
        print(f"no include cycle among {len(units)} units")
        return 0
    print(f"{len(found)} include cycle(s) among {len(units)} units:")
    for members in found:
        way = one_circle(arrows, members)
        print("  " + " -> ".join(way))
        for unit, target in zip(way, way[1:]):
            print(f"    {arrows[unit][target]}: {unit} includes {target}")
        if len(members) > len(way) - 1:
            print(f"    (the circle's units all told: {', '.join(members)})")
    return 1


if __name__ == "__main__":
    sys.exit(main())
