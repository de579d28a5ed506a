#!/usr/bin/env python3
"""Types at questveto-sandbox's console on a pseudo-terminal, as an operator would.

Two runs in one fresh server directory. The first completes, with Tab, a console command, a
player, a mission and a command the plugin registered, runs each line, and ends with Ctrl-D.
The second recalls the first run's last line with the Up arrow and runs it again, then stops
with Ctrl-C at the prompt. Checks what the screen showed after each key and that the terminal
was handed back in the mode it came in. A third run completes names that are not ASCII. Two
more runs, each in a fresh server directory, recall lines from the user's state directory.

Usage: run_terminal_test.py SANDBOX
"""
import os
import pty
import select
import sys
import tempfile
import termios
import time
import tty

TIMEOUT = 15
PROMPT = b"\r\n> "
UP = b"\x1b[A"
CTRL_D = b"\x04"
CTRL_C = b"\x03"


# What Tab completes in the first run: (kind, keys before Tab, what the completion shows, what
# the completed line prints).
COMPLETIONS = [
    ("a console command", b"mis", b"sions ", b"Race to the Summit   version 2"),
    ("a player", b"kill Al", b"ice ", b"Alice is dead"),
    ("a mission name with blanks", b"start Bob Race to", b"the Summit",
     b'The start of "Race to the Summit" by Bob was refused'),
    ("a command the plugin registered", b"as Bob qv.re", b"load",
     b"[chat to Bob] QuestVeto: Reloaded config"),
]


class Failure(Exception):
    pass


class Session:
    """The sandbox running on the slave side of a fresh pseudo-terminal."""

    def __init__(self, sandbox, server_dir, *arguments, environment=None):
        """server_dir None: a fresh one; environment: variables set for the program."""
        where = ["--dir", server_dir] if server_dir else []
        self.start([sandbox, *where, *arguments], environment)

    def start(self, command, environment=None, raw=False):
        """Runs `command`; `raw`: the terminal passes keys on untranslated from the start."""
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            os.environ["LC_ALL"] = "C.UTF-8"  # the keys typed are UTF-8
            os.environ.update(environment or {})
            if raw:
                tty.setraw(0)
            os.execv(command[0], command)
        self.screen = b""
        self.seen = 0  # what expect() has consumed of shown()

    def shown(self):
        """The screen as expect() searches it."""
        return self.screen

    def read_some(self, deadline):
        ready, _, _ = select.select([self.fd], [], [], max(0.0, deadline - time.time()))
        if not ready:
            return False
        try:
            data = os.read(self.fd, 4096)
        except OSError:  # the slave side closed: the program ended
            return False
        self.screen += data
        return bool(data)

    def expect(self, text, what):
        """Waits until `text` appears after what was expected before."""
        deadline = time.time() + TIMEOUT
        while True:
            at = self.shown().find(text, self.seen)
            if at >= 0:
                self.seen = at + len(text)
                return
            if time.time() > deadline or not self.read_some(deadline):
                raise Failure(f"{what}: {text!r} never appeared; the screen after the last "
                              f"match was:\n{self.shown()[self.seen:]!r}")

    def type(self, keys):
        os.write(self.fd, keys)

    def finish(self):
        """The exit status, once the program ended; the screen is read to its end."""
        deadline = time.time() + TIMEOUT
        while self.read_some(deadline):
            pass
        _, status = os.waitpid(self.pid, 0)
        mode = None
        try:
            mode = termios.tcgetattr(self.fd)
        except termios.error:
            pass
        os.close(self.fd)
        return os.waitstatus_to_exitcode(status), mode


def fresh_terminal_mode():
    master, slave = pty.openpty()
    mode = termios.tcgetattr(master)
    os.close(master)
    os.close(slave)
    return mode


def first_run(sandbox, server_dir):
    run = Session(sandbox, server_dir)
    run.expect(b"copied the sample", "the new directory gets the sample config")
    run.expect(PROMPT, "the first prompt")

    for what, typed, completed, output in COMPLETIONS:
        run.type(typed + b"\t")
        run.expect(completed, what + " completed")
        run.type(b"\r")
        run.expect(output, what + ": the completed line ran")
        run.expect(PROMPT, what + ": the prompt after the output")

    run.type(CTRL_D)
    run.expect(b"End of input", "Ctrl-D ends the input")
    status, _ = run.finish()
    if status != 0:
        raise Failure(f"the first run exited with {status}")


def second_run(sandbox, server_dir):
    run = Session(sandbox, server_dir)
    run.expect(PROMPT, "the first prompt")
    run.type(UP)
    run.expect(b"as Bob qv.reload", "the first run's last line recalled")
    run.type(b"\r")
    run.expect(b"[chat to Bob] QuestVeto: Reloaded config", "the recalled line ran")
    run.expect(PROMPT, "the prompt after the output")
    run.type(CTRL_C)
    run.expect(b"Signal SIGINT received", "Ctrl-C at the prompt stops the server")
    run.expect(b"Unloaded plugin ", "the plugin unloaded")
    status, after = run.finish()
    if status != 0:
        raise Failure(f"the second run exited with {status}")
    if after is not None and after[3] != fresh_terminal_mode()[3]:
        raise Failure("the terminal was not handed back in the mode it came in")
    if b"copied the sample" in run.screen:
        raise Failure("the existing config.json was replaced by the sample")


def non_ascii_names(sandbox, server_dir):
    world = os.path.join(server_dir, "world.json")
    with open(world, "w", encoding="utf-8") as file:
        file.write('{"missions": [{"name": "Jagd \u00fcber Berge", "version": 1, "tag": "J"}],'
                   ' "players": [{"name": "B\u00f6b"}]}')
    run = Session(sandbox, server_dir, "--world", world)
    run.expect(PROMPT, "the first prompt")
    run.type("start B\t".encode())
    run.expect("öb ".encode(), "a non-ASCII player completed")
    run.type("Jagd ü\t".encode())
    run.expect("ber Berge".encode(), "a non-ASCII mission completed after a non-ASCII word")
    run.type(b"\r")
    run.expect('Böb started "Jagd über Berge"'.encode(), "the completed line ran")
    run.type(CTRL_D)
    status, _ = run.finish()
    if status != 0:
        raise Failure(f"the run with non-ASCII names exited with {status}")


def history_without_dir(sandbox, work):
    """Two runs in fresh server directories (removed at exit) share the history kept in the
    user's state directory."""
    os.makedirs(work)
    environment = {"XDG_STATE_HOME": os.path.join(work, "state"), "TMPDIR": work}
    run = Session(sandbox, None, environment=environment)
    run.expect(PROMPT, "the first prompt in a fresh directory")
    run.type(b"kill Mira\r")
    run.expect(b"Mira is dead", "the line ran")
    run.type(CTRL_D)
    run.expect(b"Removed the server directory", "the fresh directory removed")
    if run.finish()[0] != 0:
        raise Failure("the first run in a fresh directory failed")
    history = os.path.join(work, "state", "questveto-sandbox", "console-history")
    if not os.path.exists(history):
        raise Failure(f"no history at {history}")

    run = Session(sandbox, None, environment=environment)
    run.expect(PROMPT, "the first prompt in the next fresh directory")
    run.type(UP)
    run.expect(b"kill Mira", "the earlier run's line recalled from the state directory")
    run.type(b"\r")
    run.expect(b"Mira is dead", "the recalled line ran")
    run.type(CTRL_D)
    if run.finish()[0] != 0:
        raise Failure("the second run in a fresh directory failed")


def outcome(check):
    """Runs `check`, prints "passed" or what failed, and answers the exit status."""
    try:
        check()
    except Failure as failure:
        print(f"FAILED: {failure}")
        return 1
    print("passed")
    return 0


def all_runs(sandbox):
    with tempfile.TemporaryDirectory(prefix="qv-terminal-") as server_dir:
        first_run(sandbox, server_dir)
        second_run(sandbox, server_dir)
        non_ascii_names(sandbox, server_dir)
        history_without_dir(sandbox, os.path.join(server_dir, "scratch"))


def main():
    return outcome(lambda: all_runs(sys.argv[1]))


if __name__ == "__main__":
    sys.exit(main())
