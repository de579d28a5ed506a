#!/usr/bin/env python3
"""Checks what a plugin library takes from the host library and what it exports.

usage: library_symbols.py PLUGIN HOST --imports NAME... --exports NAME... [--modules DLL...]

PLUGIN and HOST are ELF shared objects (read with nm) or PE DLLs (read with llvm-objdump). A
symbol counts by its demangled name without parameters (Itanium names demangled by c++filt, MSVC
names by llvm-undname), so both overloads of a function count twice. Exits 1, listing the differences, unless the plugin's imports from the host are exactly
--imports and its own exports are exactly --exports. For a PE DLL, --modules lists every module
it may import from at all (case-insensitive, with * for any letters: api-ms-win-crt-*), so that a runtime DLL the server does not have
(libstdc++-6.dll, say) is caught before an operator finds the plugin failing to load.
"""
import argparse
import collections
import fnmatch
import re
import subprocess
import sys


def run(command):
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout


def demangled(symbols, demangler="c++filt", undname="llvm-undname-19"):
    """The C++ declarations of `symbols`, in their order; a name that is no C++ name stays."""
    msvc = [name for name in symbols if name.startswith("?")]
    readable = {}
    if msvc:
        # llvm-undname prints each name and, on the line after it, its declaration (or an error,
        # and then fails, for the few names it cannot read).
        lines = subprocess.run([undname] + msvc, check=False, capture_output=True,
                               text=True).stdout.splitlines()
        for index, name in enumerate(lines):
            if name in msvc and index + 1 < len(lines):
                readable[name] = lines[index + 1]
    others = [name for name in symbols if not name.startswith("?")]
    if others:
        readable.update(zip(others, run([demangler] + others).splitlines()))
    return [readable.get(name, name) for name in symbols]


def demangled_names(symbols, demangler="c++filt", undname="llvm-undname-19"):
    names = []
    for declaration in demangled(symbols, demangler, undname):
        # "ns::Function[abi:cxx11](args) const" and "int __cdecl ns::Function(args)" ->
        # "ns::Function"
        name = re.sub(r"\(.*$", "", re.sub(r"\[abi:[^\]]*\]", "", declaration)).strip()
        names.append(name.rsplit(" ", 1)[-1])
    return names


def is_pe(path):
    with open(path, "rb") as f:
        return f.read(2) == b"MZ"


def elf_symbols(path, defined):
    flag = "--defined-only" if defined else "--undefined-only"
    names = []
    for line in run(["nm", "-D", flag, path]).splitlines():
        parts = line.split()
        if parts:
            names.append(parts[-1].split("@")[0])
    return names


def pe_tables(path, objdump):
    """Imports as {module: [names]} and exports as [names] of a PE file (llvm-objdump -p)."""
    imports = collections.defaultdict(list)
    exports = []
    module = None
    in_exports = False
    for line in run([objdump, "-p", path]).splitlines():
        if line.startswith("Export Table:"):
            in_exports, module = True, None
            continue
        if line.strip().startswith("DLL Name:"):
            in_exports = False
            module = line.split(":", 1)[1].strip().lower()
            imports[module]
            continue
        if in_exports:
            match = re.match(r"^\s+\d+\s+0x[0-9a-f]+\s+(\S+)\s*$", line)
            if match:
                exports.append(match.group(1))
            elif line.strip() == "" or not line.startswith(" "):
                in_exports = False
        elif module:
            match = re.match(r"^\s+\d+\s+(\S+)\s*$", line)
            if match:
                imports[module].append(match.group(1))
            elif line.strip() == "" or line.strip().startswith("lookup"):
                module = None
    return imports, exports


def check_import_names(taken, path):
    """The plugin's imports from the host are exactly the names in `path`, and each reads as the
    declaration under it."""
    expected = {}
    name = None
    with open(path, encoding="utf-8") as listing:
        for line in listing:
            if line.startswith("#") or not line.strip():
                continue
            if line[0].isspace():
                expected[name] = line.strip()
            else:
                name = line.strip()
    ok = True
    if sorted(taken) != sorted(expected):
        ok = False
        print(f"import names: expected {sorted(expected)}, found {sorted(taken)}")
    for found, declaration in zip(taken, demangled(taken)):
        if found in expected and declaration != expected[found]:
            ok = False
            print(f"{found} reads as {declaration!r}, not {expected[found]!r}")
    if ok:
        print(f"import names: the {len(taken)} of {path}")
    return ok


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("plugin")
    parser.add_argument("host")
    parser.add_argument("--imports", nargs="+", required=True)
    parser.add_argument("--exports", nargs="+", required=True)
    parser.add_argument("--modules", nargs="+")
    parser.add_argument("--import-names", help="file of the exact names (and, indented under "
                        "each, its declaration) the plugin imports from the host")
    parser.add_argument("--objdump", default="llvm-objdump-19")
    parser.add_argument("--demangler", default="c++filt")
    args = parser.parse_args()

    if is_pe(args.plugin):
        imports, exported = pe_tables(args.plugin, args.objdump)
        host_module = args.host.replace("\\", "/").rsplit("/", 1)[-1].lower()
        taken = imports.get(host_module, [])
    else:
        host_defined = set(elf_symbols(args.host, defined=True))
        taken = [s for s in elf_symbols(args.plugin, defined=False) if s in host_defined]
        exported = elf_symbols(args.plugin, defined=True)

    failed = False
    if args.import_names:
        failed = not check_import_names(taken, args.import_names)
    if args.modules and is_pe(args.plugin):
        modules = sorted(imports)
        allowed = sorted(m.lower() for m in args.modules)
        if not all(any(fnmatch.fnmatchcase(m, a) for a in allowed) for m in modules):
            failed = True
            print(f"modules: may import from {allowed}, imports from {modules}")
        else:
            print(f"modules: {modules}")
    for what, found, expected in (
        ("imports from the host", demangled_names(taken, args.demangler), args.imports),
        ("exports", demangled_names(exported, args.demangler), args.exports),
    ):
        found_count = collections.Counter(found)
        expected_count = collections.Counter(expected)
        if found_count != expected_count:
            failed = True
            print(f"{what}: expected {sorted(expected)}, found {sorted(found)}")
            print(f"  unexpected: {sorted((found_count - expected_count).elements())}")
            print(f"  missing: {sorted((expected_count - found_count).elements())}")
        else:
            print(f"{what}: {sorted(found)}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
