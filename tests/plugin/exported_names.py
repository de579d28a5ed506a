#!/usr/bin/env python3
"""The names QuestVetoClient.h looks QuestVeto's query up under are the ones compilers give it.

clang compiles the two declarations of QuestVeto::IsMissionDisabled for each target a QuestVeto
may be built for (x86_64 Linux and MinGW: the Itanium ABI; x86_64 MSVC: its own decoration), once
with FString and AMissionType declared `struct` and once `class`. Every name the header holds must
be the one the matching compiler and declaration give, and the Itanium names must not depend on
the declaration. The header's names come from a program built by this build's own compiler (run
under LOADER for the Windows build). The Windows build's QuestVeto.dll, given with --questveto-dll,
must export the header's MSVC names of `struct` declarations (QuestVeto's own) and nothing else,
as its export table (OBJDUMP -p) lists them. Exits 77 (skipped) when clang is not installed.

Usage: exported_names.py [--loader LOADER] --names PROGRAM --clang CLANG
                         [--objdump OBJDUMP --questveto-dll DLL]
"""
import argparse
import re
import shutil
import subprocess
import sys

# QuestVeto's exported query, as QuestVeto's sources declare it, for a declaration keyword.
DECLARATIONS = """
{key} FString;
{key} AMissionType;
namespace QuestVeto {{
bool IsMissionDisabled(const FString&) {{ return false; }}
bool IsMissionDisabled(AMissionType*) {{ return false; }}
}}
"""

ITANIUM_TARGETS = ["x86_64-linux-gnu", "x86_64-w64-windows-gnu"]
MSVC_TARGET = "x86_64-pc-windows-msvc"

# (form in the header, targets, declaration keyword): each form is what those compilers give.
FORMS = [
    ("Itanium", ITANIUM_TARGETS, "struct"),
    ("Itanium", ITANIUM_TARGETS, "class"),
    ("MsvcStruct", [MSVC_TARGET], "struct"),
    ("MsvcClass", [MSVC_TARGET], "class"),
]

# Which query a compiled name belongs to.
QUERY_OF_TYPE = {"FString": "ByDisplayName", "AMissionType": "ByMission"}


def compiled_names(clang, target, key):
    """{query: name} as clang for `target` decorates the declarations with `key`."""
    source = DECLARATIONS.format(key=key)
    assembly = subprocess.run([clang, "--target=" + target, "-x", "c++", "-S", "-o", "-", "-"],
                              input=source.encode(), stdout=subprocess.PIPE, check=True).stdout
    names = {}
    for label in re.findall(rb'^"?([^"\s]*IsMissionDisabled[^"\s]*?)"?:', assembly, re.MULTILINE):
        label = label.decode()
        for type_name, query in QUERY_OF_TYPE.items():
            if type_name in label:
                names[query] = label
    if len(names) != 2:
        sys.exit(f"FAIL: clang for {target} gave {names}, expected both queries")
    return names


def header_names(command):
    """{(query, form): name} as the header holds them."""
    output = subprocess.run(command, stdout=subprocess.PIPE, check=True).stdout.decode()
    names = {}
    for line in output.replace("\r\n", "\n").splitlines():
        query, form, name = line.split(" ", 2)
        names[(query, form)] = name
    return names


def pe_exports(objdump, library):
    """The names in the export table of the PE `library` (llvm-objdump -p)."""
    listing = subprocess.run([objdump, "-p", library], stdout=subprocess.PIPE, check=True).stdout
    table = listing.decode().split("Export Table:", 1)[-1].split("\n\n", 1)[0]
    return sorted(re.findall(r"^\s+\d+\s+0x[0-9a-f]+\s+(\S+)$", table, re.MULTILINE))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--loader")
    parser.add_argument("--names", required=True)
    parser.add_argument("--clang", required=True)
    parser.add_argument("--objdump")
    parser.add_argument("--questveto-dll")
    args = parser.parse_args()
    if shutil.which(args.clang) is None:
        print(f"skipped: no {args.clang} (scripts/setup.sh installs it with the test packages)")
        return 77

    held = header_names(([args.loader] if args.loader else []) + [args.names])
    failures = []
    checked = set()
    for form, targets, key in FORMS:
        for target in targets:
            for query, name in compiled_names(args.clang, target, key).items():
                want = held.get((query, form))
                verdict = "ok" if want == name else f"FAIL: the header holds {want}"
                print(f"{query:<13} {form:<10} {target:<22} {key:<6} {name}  {verdict}")
                if want != name:
                    failures.append((query, form, target, key))
                checked.add((query, form))
    unchecked = set(held) - checked
    if unchecked:
        failures.append(("names no compiler gives", sorted(unchecked)))
    if args.questveto_dll:
        want = sorted(held[(query, "MsvcStruct")] for query in QUERY_OF_TYPE.values())
        exported = pe_exports(args.objdump, args.questveto_dll)
        print(f"QuestVeto.dll exports {exported}")
        if exported != want:
            failures.append((args.questveto_dll, "exports", exported, "instead of", want))
    if failures:
        sys.exit(f"FAIL: {failures}")
    print(f"all {len(held)} names of the header are the compilers' names")
    return 0


if __name__ == "__main__":
    sys.exit(main())
