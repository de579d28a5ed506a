#!/usr/bin/env python3
"""questveto-config-check carries nothing of the stand-in host: no symbol of the stand-in's
namespace is defined in the program, so nothing of the simulated world, the journal, the
registries or the stand-in's game heap is linked in (the UTF-8 conversions it shares with the
stand-in live in common/, outside it). Nor does an ELF program take a host function from a
shared library (the stand-in host's libversion.so); the PE program's imports are held to system
DLLs by compare_checker.py.

Usage: checker_symbols.py --nm NM CHECKER
CHECKER is the ELF or PE program.
"""
import argparse
import importlib.util
import os
import re
import subprocess
import sys

# Demangles both ABIs' names (the Linux build's Itanium ones, the Windows build's MSVC ones).
_SPEC = importlib.util.spec_from_file_location(
    "library_symbols", os.path.join(os.path.dirname(__file__), "..", "..", "scripts",
                                    "library_symbols.py"))
library_symbols = importlib.util.module_from_spec(_SPEC)
_SPEC.loader.exec_module(library_symbols)

NAMESPACE = "StandIn::"


def qualified_name(declaration):
    """"StandIn::GameWorld::AddMission" of an Itanium "StandIn::GameWorld::AddMission(...)" and of an MSVC
    "class std::basic_string<...> __cdecl StandIn::GameWorld::AddMission(...)"."""
    return re.sub(r"\(.*$", "", declaration).split(" ")[-1]


def stand_in_symbols(nm, path):
    """The demangled names in the stand-in's namespace that `path` defines, without clone
    suffixes such as " [clone .cold]"."""
    out = subprocess.run([nm, "--defined-only", path], check=True, capture_output=True,
                         text=True).stdout
    symbols = sorted({parts[2] for parts in (line.split(" ", 2) for line in out.splitlines())
                      if len(parts) == 3 and "StandIn" in parts[2]})
    return {declaration.split(" [clone ")[0]
            for declaration in library_symbols.demangled(symbols)
            if qualified_name(declaration).startswith(NAMESPACE)}


def host_imports(nm, path):
    """The host functions an ELF program takes from a shared library."""
    with open(path, "rb") as file:
        if file.read(4) != b"\x7fELF":
            return []
    out = subprocess.run([nm, "-D", "--undefined-only", "-C", path], check=True,
                         capture_output=True, text=True).stdout
    names = [line.split(None, 1)[1] for line in out.splitlines() if line.strip()]
    return [name for name in names
            if name.startswith(("GetAddress", "GetLogSinks", "HostApi::", NAMESPACE))]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--nm", required=True)
    parser.add_argument("checker")
    args = parser.parse_args()
    imported = host_imports(args.nm, args.checker)
    if imported:
        sys.exit("FAIL: the checker takes host functions from a shared library: " +
                 ", ".join(imported))
    linked = sorted(stand_in_symbols(args.nm, args.checker))
    if linked:
        sys.exit("FAIL: the checker links stand-in code:\n  " + "\n  ".join(linked))
    print("the checker links no stand-in code and takes no host function from a library")


if __name__ == "__main__":
    main()
