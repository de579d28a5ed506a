#!/usr/bin/env python3
"""Types at questveto-sandbox.exe's console under Wine on a pseudo-terminal, as an operator would.

Wine gives a program on a terminal the Windows console, which edits typed lines itself: the
sandbox shows its prompt, a typed line runs, names beyond ASCII arrive whole, the Up arrow recalls
a line from this run's lines, and "quit" stops the server. The screen is compared with Wine's
terminal control sequences taken out.

Usage: run_windows_console_test.py LOADER SANDBOX.exe
"""
import os
import re
import sys
import tempfile

from run_terminal_test import UP, Failure, Session, outcome

CONTROL = re.compile(rb"\x1b\[[0-9;?]*[A-Za-z]")


class WineConsole(Session):
    """The program under Wine on a pseudo-terminal, its screen read without Wine's control
    sequences."""

    def __init__(self, loader, sandbox, *arguments):
        # Keys reach Wine as typed (a carriage return stays one) even before its console has set
        # the terminal's mode for its first read.
        self.start([loader, sandbox, *arguments], raw=True)

    def shown(self):
        return CONTROL.sub(b"", self.screen)


def typed_session(loader, sandbox):
    with tempfile.TemporaryDirectory(prefix="qv-wine-console-") as work:
        world = os.path.join(work, "world.json")
        with open(world, "w", encoding="utf-8") as file:
            file.write('{"missions": [{"name": "Jagd \u00fcber Berge", "version": 1, "tag": "J"}],'
                       ' "players": [{"name": "B\u00f6b"}]}')
        console = WineConsole(loader, sandbox, "--world", world)
        console.expect(b"Up recalls this run's lines.", "the greeting of a typed console")
        console.expect(b">", "the first prompt")
        console.type("kill Böb\r".encode())
        console.expect("Böb is dead".encode(), "the typed line ran, its name whole")
        console.expect(b">", "the prompt after the output")
        console.type("revive Böb\r".encode())
        console.expect("Böb is alive".encode(), "the second line ran")
        console.type(UP + UP + b"\r")
        console.expect("kill Böb".encode(), "the first line recalled with Up")
        console.expect("Böb is dead".encode(), "the recalled line ran")
        console.type("start Böb Jagd über Berge\r".encode())
        console.expect('Böb started "Jagd über Berge"'.encode(), "a mission named beyond ASCII")
        console.type(b"quit\r")
        console.expect(b"Unloaded plugin ", "quit stops the server")
        status, _ = console.finish()
        if status != 0:
            raise Failure(f"the sandbox exited with {status}")


def main():
    return outcome(lambda: typed_session(*sys.argv[1:3]))


if __name__ == "__main__":
    sys.exit(main())
