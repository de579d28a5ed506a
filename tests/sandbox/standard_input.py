#!/usr/bin/env python3
"""questveto-sandbox on each standard input an operator can start it with, other than a terminal:
closed, the null device, a file of commands and a pipe. A closed or empty input is the end of
input, and the server stops cleanly; commands from a file or a pipe run, then the end of input
stops it the same way. For the Windows build under Wine, where a program started with its input
closed is handed the current directory in its place.

Usage: standard_input.py [--loader LOADER] --sandbox SANDBOX --work DIR
"""
import argparse
import os
import shutil
import subprocess
import sys

TIMEOUT = 120
COMMANDS = b"kill Bob\r\nrevive Bob\n"


def fail(message):
    sys.exit(f"FAIL: {message}")


def close_standard_input():
    os.close(0)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--loader", default=None)
    parser.add_argument("--sandbox", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    commands_file = os.path.join(args.work, "commands.txt")
    with open(commands_file, "wb") as file:
        file.write(COMMANDS)

    # (what the input is, how the child gets it, the lines the commands show)
    ran = ["Bob is dead", "Bob is alive"]
    inputs = [
        ("closed", {"stdin": None, "preexec_fn": close_standard_input}, []),
        ("the null device", {"stdin": subprocess.DEVNULL}, []),
        ("a file", {"stdin": open(commands_file, "rb")}, ran),
        ("a pipe", {"input": COMMANDS}, ran),
    ]
    program = ([args.loader] if args.loader else []) + [os.path.abspath(args.sandbox)]
    for name, given, shown in inputs:
        server_dir = os.path.join(args.work, name.replace(" ", "-"))
        os.makedirs(server_dir)
        # Run from the server directory: under Wine that directory is what a closed input gets.
        result = subprocess.run(program + ["--dir", server_dir], cwd=server_dir,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=TIMEOUT,
                                **given)
        output = result.stdout.decode("utf-8", errors="replace").replace("\r\n", "\n")
        print(f"--- standard input {name}: exit {result.returncode}\n{output}")
        if result.returncode != 0:
            fail(f"standard input {name}: exit {result.returncode}, expected 0")
        expected = ["Loaded plugin ", *shown, "End of input", "Unloaded plugin "]
        at = 0
        for line in expected:
            found = output.find(line, at)
            if found < 0:
                fail(f"standard input {name}: no {line!r} after what came before")
            at = found + len(line)
        if "failed" in output:
            fail(f"standard input {name}: something failed")
    print("PASS")


if __name__ == "__main__":
    main()
