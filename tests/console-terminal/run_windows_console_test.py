#!/usr/bin/env python3
"""Types at questveto-sandbox.exe's console under Wine on a pseudo-terminal, as an operator would.

Wine gives a program on a terminal the Windows console, which edits typed lines itself: the
sandbox shows its prompt, a typed line runs, the Up arrow recalls it from this run's lines, and
"quit" stops the server. The screen is compared with Wine's terminal control sequences taken out.

Usage: run_windows_console_test.py LOADER SANDBOX.exe
"""
import re
import sys

from run_terminal_test import UP, Failure, Session

CONTROL = re.compile(rb"\x1b\[[0-9;?]*[A-Za-z]")


class WineConsole(Session):
    """The program under Wine on a pseudo-terminal, its screen read without Wine's control
    sequences."""

    def __init__(self, loader, sandbox):
        # Keys reach Wine as typed (a carriage return stays one) even before its console has set
        # the terminal's mode for its first read.
        self.start([loader, sandbox], raw=True)

    def shown(self):
        return CONTROL.sub(b"", self.screen)


def main():
    loader, sandbox = sys.argv[1:3]
    console = WineConsole(loader, sandbox)
    try:
        console.expect(b"Up recalls this run's lines.", "the greeting of a typed console")
        console.expect(b">", "the first prompt")
        console.type(b"kill Mira\r")
        console.expect(b"Mira is dead", "the typed line ran")
        console.expect(b">", "the prompt after the output")
        console.type(UP + b"\r")
        console.expect(b"kill Mira", "the line recalled with Up")
        console.expect(b"Mira is dead", "the recalled line ran")
        console.type(b"quit\r")
        console.expect(b"Unloaded plugin ", "quit stops the server")
        status, _ = console.finish()
        if status != 0:
            raise Failure(f"the sandbox exited with {status}")
    except Failure as failure:
        print(f"FAILED: {failure}")
        return 1
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
