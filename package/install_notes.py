#!/usr/bin/env python3
"""Writes the release's INSTALL.txt from its template and the build: the names the plugin DLL
imports from the host's version.dll (read from the DLL) and the versions of spdlog, fmt and
nlohmann/json in the header trees the build compiled against.

Usage: install_notes.py --template FILE --dll QuestVeto.dll --objdump OBJDUMP
                        --include-dir DIR --version X.Y.Z --symbols-tool library_symbols.py
                        --out FILE
"""
import argparse
import importlib.util
import os
import re
import sys


def load_module(path):
    spec = importlib.util.spec_from_file_location("library_symbols", path)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


def header_macros(path, names):
    """The integer values of the #define'd `names` in the header at `path`."""
    with open(path, encoding="utf-8") as file:
        text = file.read()
    values = []
    for name in names:
        match = re.search(r"^#\s*define\s+%s\s+(\d+)" % name, text, re.MULTILINE)
        if not match:
            sys.exit(f"install_notes: no {name} in {path}")
        values.append(int(match.group(1)))
    return values


def library_versions(include_dir):
    spdlog = header_macros(os.path.join(include_dir, "spdlog", "version.h"),
                           ["SPDLOG_VER_MAJOR", "SPDLOG_VER_MINOR", "SPDLOG_VER_PATCH"])
    (fmt,) = header_macros(os.path.join(include_dir, "fmt", "core.h"), ["FMT_VERSION"])
    nlohmann = header_macros(os.path.join(include_dir, "nlohmann", "detail", "abi_macros.hpp"),
                             ["NLOHMANN_JSON_VERSION_MAJOR", "NLOHMANN_JSON_VERSION_MINOR",
                              "NLOHMANN_JSON_VERSION_PATCH"])
    return {
        "SPDLOG": "%d.%d.%d" % tuple(spdlog),
        "FMT": "%d.%d.%d" % (fmt // 10000, fmt // 100 % 100, fmt % 100),
        "NLOHMANN": "%d.%d.%d" % tuple(nlohmann),
    }


def host_imports(imports, symbols):
    """Each name the DLL imports from version.dll, with its C++ form on the line after it."""
    names = sorted(imports.get("version.dll", []))
    if not names:
        sys.exit("install_notes: the DLL imports nothing from version.dll")
    readable = symbols.demangled(names)
    lines = []
    for name, cxx in zip(names, readable):
        lines += ["    " + name, "      " + cxx]
    return names, "\n".join(lines)


def main():
    parser = argparse.ArgumentParser()
    for option in ("template", "dll", "objdump", "include-dir", "version", "symbols-tool", "out"):
        parser.add_argument("--" + option, required=True)
    args = parser.parse_args()
    symbols = load_module(args.symbols_tool)
    imports, _ = symbols.pe_tables(args.dll, args.objdump)
    names, listing = host_imports(imports, symbols)
    others = sorted(module for module in imports
                    if module != "version.dll" and not module.startswith("api-ms-win-crt-"))
    if any(module.startswith("api-ms-win-crt-") for module in imports):
        others.append("the Universal CRT (api-ms-win-crt-*.dll)")
    values = dict(library_versions(args.include_dir), VERSION=args.version,
                  IMPORT_COUNT=str(len(names)), IMPORTS=listing,
                  OTHER_MODULES=", ".join(others[:-1]) + " and " + others[-1])
    with open(args.template, encoding="utf-8") as file:
        text = file.read()
    text = re.sub(r"@([A-Z_]+)@", lambda match: values[match.group(1)], text)
    # The notes may be the first thing the build writes into its package folder.
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    # Windows line ends: older Notepad shows a file without them as one long line.
    with open(args.out, "w", encoding="utf-8", newline="\r\n") as file:
        file.write(text)


if __name__ == "__main__":
    main()
