#!/usr/bin/env python3
"""questveto-config-check.exe on a Windows console under Wine, as an operator runs it on a server
whose console keeps a code page of its own ("chcp 850" first), against the Linux build.

For each case of the table, in a directory holding a config with entries beyond ASCII:
- on the console (Wine on a pseudo-terminal, 250 columns so that no line wraps), the screen shows
  exactly the Linux build's report and messages, names beyond ASCII whole, and the exit status is
  the Linux build's;
- redirected to a pipe, the output is exactly the Linux build's UTF-8 bytes (Windows line ends
  aside), with the same exit status.

The same for a probe that writes through the checker's console stream a letter split between two
writes and a last line without a line end: the screen and the pipe show both lines whole.

Usage: run_windows_checker_console_test.py --linux CHECKER --windows LOADER CHECKER.exe
                                           --probe PROBE.exe
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile

from run_terminal_test import Failure, Session, outcome

# Wine draws the console's screen on the terminal: a blank it skips is a cursor move to the right.
CURSOR_RIGHT = re.compile(rb"\x1b\[([0-9]*)C")
CONTROL = re.compile(rb"\x1b\[[0-9;?]*[A-Za-z]")

CONFIG = '{"DisabledMissions": ["Jagd \u00fcber", "Caf\u00e9 Run\u00a0"]}'

# What the operator runs: (what, arguments).
CASES = [
    ("the text report, entries and names beyond ASCII",
     ["config.json", "Jagd \u00fcber Berge", "Caf\u00e9 Run"]),
    ("the JSON report", ["--json", "config.json", "Jagd \u00fcber Berge"]),
    ("the message for a missions file named beyond ASCII that cannot be opened",
     ["config.json", "--missions", "Liste f\u00fcr Jagd.txt"]),
    ("the message for a wrong command line", ["config.json", "--gr\u00f6\u00dfe"]),
    ("a config in a directory named beyond ASCII", ["Server J\u00fcrgen/config.json"]),
]


def windows_path(path):
    """The path as Wine's drive Z: holds the file system's root."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def redirected(command, work):
    """Standard output and error in one pipe, as written, and the exit status."""
    done = subprocess.run(command, cwd=work, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, timeout=120)
    return done.stdout.replace(b"\r\n", b"\n"), done.returncode


class CheckerConsole(Session):
    """The program run by cmd under Wine on a pseudo-terminal of 250 columns, in `work`, after
    "chcp 850"."""

    def __init__(self, loader, checker, arguments, work):
        self.start(["/bin/sh", "-c", 'cd "$1" && shift && stty cols 250 rows 60 && exec "$@"',
                    "sh", work, loader, "cmd", "/c", "chcp", "850", ">nul", "&",
                    windows_path(checker), *arguments], raw=True)

    def shown(self):
        screen = CURSOR_RIGHT.sub(lambda blank: b" " * int(blank.group(1) or 1), self.screen)
        return CONTROL.sub(b"", screen).replace(b"\r\n", b"\n")


def on_console(loader, checker, arguments, work):
    """What the screen shows, once the checker ended, and the exit status."""
    console = CheckerConsole(loader, checker, arguments, work)
    status, _ = console.finish()
    return console.shown(), status


def difference(what, shown, expected):
    """[] when `shown` (output, exit status) is `expected`, otherwise what differs."""
    if shown == expected:
        print(f"{what}: as the Linux build")
        return []
    return [f"{what}: expected\n{expected[0].decode('utf-8', 'replace')}"
            f"[exit status {expected[1]}]\nbut got\n{shown[0].decode('utf-8', 'replace')}"
            f"[exit status {shown[1]}]"]


def check_cases(linux, loader, checker, probe):
    with tempfile.TemporaryDirectory(prefix="qv-checker-console-") as work:
        for directory in (work, os.path.join(work, "Server J\u00fcrgen")):
            os.makedirs(directory, exist_ok=True)
            with open(os.path.join(directory, "config.json"), "w", encoding="utf-8") as file:
                file.write(CONFIG)
        failures = []
        for what, arguments in CASES:
            expected = redirected([linux, *arguments], work)
            failures += difference(f"{what}, redirected",
                                   redirected([loader, checker, *arguments], work), expected)
            failures += difference(f"{what}, on a console with code page 850",
                                   on_console(loader, checker, arguments, work), expected)
        probe_output = ("split: J\u00fcber\nlast: Caf\u00e9".encode(), 0)
        failures += difference("the probe's pieces, redirected",
                               redirected([loader, probe], work), probe_output)
        failures += difference("the probe's pieces, on a console with code page 850",
                               on_console(loader, probe, [], work), probe_output)
        if failures:
            raise Failure("\n".join(failures))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--linux", required=True)
    parser.add_argument("--windows", nargs=2, required=True, metavar=("LOADER", "CHECKER"))
    parser.add_argument("--probe", required=True)
    args = parser.parse_args()
    return outcome(lambda: check_cases(args.linux, *args.windows, args.probe))


if __name__ == "__main__":
    sys.exit(main())
