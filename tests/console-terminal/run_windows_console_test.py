#!/usr/bin/env python3
"""Types at questveto-sandbox.exe's console under Wine on a pseudo-terminal, as an operator would.

Wine gives a program on a terminal the Windows console, which edits typed lines itself: the
sandbox shows its prompt, a typed line runs, the Up arrow recalls it from this run's lines, and
"quit" stops the server. The screen is compared with Wine's terminal control sequences taken out.

Usage: run_windows_console_test.py LOADER SANDBOX.exe
"""
import os
import pty
import re
import select
import sys
import time
import tty

TIMEOUT = 60
UP = b"\x1b[A"
CONTROL = re.compile(rb"\x1b\[[0-9;?]*[A-Za-z]")


class Failure(Exception):
    pass


class Console:
    def __init__(self, loader, sandbox):
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            # Keys reach Wine as typed (a carriage return stays one) even before its console has
            # set the terminal's mode for the first read.
            tty.setraw(0)
            os.execv(loader, [loader, sandbox])
        self.screen = b""
        self.seen = 0

    def expect(self, text, what):
        """Waits until `text` appears after what was expected before."""
        deadline = time.time() + TIMEOUT
        while True:
            plain = CONTROL.sub(b"", self.screen)
            at = plain.find(text, self.seen)
            if at >= 0:
                self.seen = at + len(text)
                return
            ready, _, _ = select.select([self.fd], [], [], max(0.0, deadline - time.time()))
            data = b""
            if ready:
                try:
                    data = os.read(self.fd, 4096)
                except OSError:  # the program ended
                    pass
            if not data:
                raise Failure(f"{what}: {text!r} never appeared; after the last match:\n"
                              f"{plain[self.seen:]!r}")
            self.screen += data

    def type(self, keys):
        os.write(self.fd, keys)

    def finish(self):
        _, status = os.waitpid(self.pid, 0)
        os.close(self.fd)
        return os.waitstatus_to_exitcode(status)


def main():
    loader, sandbox = sys.argv[1:3]
    console = Console(loader, sandbox)
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
        status = console.finish()
        if status != 0:
            raise Failure(f"the sandbox exited with {status}")
    except Failure as failure:
        print(f"FAILED: {failure}")
        return 1
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
