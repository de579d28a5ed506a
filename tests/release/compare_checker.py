#!/usr/bin/env python3
"""The Windows build of questveto-config-check, run under Wine, against the Linux build: every
checker command the document DOC shows, run in SOURCE_DIR, gives the same output and exit status
on both (Windows line ends aside). The Windows program must also import from system DLLs and the
runtime a server has for the plugin host only (the VC++ 2015-2022 runtime and the Universal CRT),
so that it runs on a server machine as it is.

Usage: compare_checker.py --doc DOC --root SOURCE_DIR --linux CHECKER --windows LOADER CHECKER.exe
                          --objdump OBJDUMP --symbols-tool library_symbols.py
"""
import argparse
import fnmatch
import importlib.util
import os
import re
import shlex
import subprocess
import sys

RUN_MARK = re.compile(r"^<!-- readme: run (.+) -->$", re.MULTILINE)
SYSTEM_DLLS = ["kernel32.dll", "user32.dll", "advapi32.dll", "shell32.dll", "vcruntime140.dll",
               "msvcp140.dll", "api-ms-win-crt-*-l1-1-0.dll"]


def fail(message):
    sys.exit(f"FAIL: {message}")


def checker_commands(doc):
    """The arguments of each checker command the document runs, as the shell would split them."""
    with open(doc, encoding="utf-8") as file:
        commands = RUN_MARK.findall(file.read())
    found = []
    for command in commands:
        words = shlex.split(command)
        if words and os.path.basename(words[0]) == "questveto-config-check":
            found.append(words[1:])
    if not found:
        fail(f"{doc} runs no questveto-config-check command")
    return found


def run(command, cwd):
    done = subprocess.run(command, cwd=cwd, stdin=subprocess.DEVNULL, capture_output=True,
                          timeout=120)
    output = (done.stdout + done.stderr).decode("utf-8", "replace").replace("\r\n", "\n")
    return output, done.returncode


def check_imports(program, objdump, symbols_tool):
    spec = importlib.util.spec_from_file_location("library_symbols", symbols_tool)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    imports, _ = module.pe_tables(program, objdump)
    print(f"{os.path.basename(program)} imports from {sorted(imports)}")
    others = sorted(name for name in imports
                    if not any(fnmatch.fnmatchcase(name, allowed) for allowed in SYSTEM_DLLS))
    if others:
        fail(f"{program} imports from {others}, neither system DLLs nor the server's runtime")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--doc", required=True)
    parser.add_argument("--root", required=True, help="where the document's commands run")
    parser.add_argument("--linux", required=True)
    parser.add_argument("--windows", nargs=2, required=True, metavar=("LOADER", "CHECKER"))
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--symbols-tool", required=True)
    args = parser.parse_args()
    check_imports(args.windows[1], args.objdump, args.symbols_tool)
    for arguments in checker_commands(args.doc):
        linux = run([args.linux] + arguments, args.root)
        windows = run(args.windows + arguments, args.root)
        print(f"$ questveto-config-check {shlex.join(arguments)}\n{linux[0]}[exit status {linux[1]}]")
        if windows != linux:
            fail(f"the Windows build answers differently:\n{windows[0]}[exit status {windows[1]}]")
    print(f"questveto-config-check.exe answers as the Linux build on every example of {args.doc}")


if __name__ == "__main__":
    main()
