#!/usr/bin/env python3
"""questveto-rcon on what an operator's machine hands it, and the command line the three programs
share.

Against RCON servers scripted here on 127.0.0.1 (one that answers, others that never do):
- the exit statuses and --version of questveto-rcon, questveto-config-check and questveto-sandbox;
- the servers of a list asked at the same time, each with its own timeout, answers in list order;
- list files that must be refused: without a name column, with binary garbage or bytes that are not
  UTF-8; the message names line and column and never the password on the line;
- lists saved as UTF-16 and replies holding control characters, which never reach the terminal raw;
- the password: no wait when standard input is a pipe that never closes, --password-stdin, and on
  a pseudo-terminal the echo back on after Enter, Ctrl-D, Ctrl-C and SIGTERM at the prompt;
- the warning for a list holding passwords that other users can read.

With --loader (the Windows build under Wine) the programs run through it, their Windows line ends
are read as line ends, the times allowed grow by the loader's own start, and the warning for a
readable list is the one a file's access list gives (Wine makes it from the file's mode). The
password prompt is left out there: the prompt is Wine's console, which sets the terminal's modes
itself, so the terminal's echo flag says nothing of the program's.

Usage: run_rcon_tool_test.py [--loader LOADER] --rcon RCON --checker CHECKER --sandbox SANDBOX
         --version VERSION --work WORK_DIR
"""
import argparse
import os
import pty
import select
import signal
import socket
import struct
import subprocess
import sys
import termios
import threading
import time

TIMEOUT = 30
LOADER = []  # what the programs run through: Wine for the Windows build
# Seconds the loader takes to start a program, added to the times a run is allowed.
LOADER_START = 0.0
SECRET = "Sup3rSecret!"
AUTH, AUTH_RESPONSE, EXEC, RESPONSE_VALUE = 3, 2, 2, 0


def fail(message):
    print(f"FAIL: {message}")
    sys.exit(1)


def packet(request_id, kind, body):
    payload = struct.pack("<ii", request_id, kind) + body.encode("utf-8") + b"\0\0"
    return struct.pack("<i", len(payload)) + payload


class AnsweringServer:
    """Takes `password`, answers each command with `reply` (default "ran <command>") after
    `delay` seconds and mirrors the empty response value that ends a reply."""

    def __init__(self, password, reply=None, delay=0.0):
        self.password, self.reply, self.delay = password, reply, delay
        self.listener = socket.create_server(("127.0.0.1", 0))
        self.port = self.listener.getsockname()[1]
        threading.Thread(target=self._serve, daemon=True).start()

    def _serve(self):
        while True:
            connection, _ = self.listener.accept()
            threading.Thread(target=self._talk, args=(connection,), daemon=True).start()

    def _talk(self, connection):
        data = b""
        with connection:
            while True:
                while len(data) < 4 or len(data) < 4 + struct.unpack("<i", data[:4])[0]:
                    more = connection.recv(4096)
                    if not more:
                        return
                    data += more
                size = struct.unpack("<i", data[:4])[0]
                request_id, kind = struct.unpack("<ii", data[4:12])
                body = data[12:4 + size - 2].decode("utf-8")
                data = data[4 + size:]
                if kind == AUTH:
                    accepted = body == self.password
                    connection.sendall(packet(request_id if accepted else -1, AUTH_RESPONSE, ""))
                elif kind == EXEC:
                    time.sleep(self.delay)
                    answer = self.reply if self.reply is not None else f"ran {body}"
                    connection.sendall(packet(request_id, RESPONSE_VALUE, answer))
                else:
                    connection.sendall(packet(request_id, RESPONSE_VALUE, ""))


class SilentServer:
    """Takes connections into its backlog and never answers."""

    def __init__(self):
        self.listener = socket.create_server(("127.0.0.1", 0), backlog=16)
        self.port = self.listener.getsockname()[1]


def run(command, environment=None, input_bytes=None):
    """`command`'s exit status, standard output and standard error (bytes), and its time."""
    started = time.monotonic()
    ran = subprocess.run(LOADER + command, input=input_bytes or b"", capture_output=True,
                         env=environment, timeout=TIMEOUT)
    took = time.monotonic() - started
    out, err = ran.stdout, ran.stderr
    if LOADER:
        out, err = out.replace(b"\r\n", b"\n"), err.replace(b"\r\n", b"\n")
    print(f"$ {' '.join(command)}\n{out.decode(errors='replace')}"
          f"{err.decode(errors='replace')}(exit {ran.returncode}, {took:.1f} s)")
    return ran.returncode, out, err, took


def without_password():
    environment = dict(os.environ)
    environment.pop("QUESTVETO_RCON_PASSWORD", None)
    return environment


def write_list(work, name, data, mode=0o600):
    path = os.path.join(work, name)
    with open(path, "wb") as file:
        file.write(data)
    os.chmod(path, mode)
    return path


def check_shared_command_line(programs, version):
    """--version, --help and a wrong option, the same way on every program."""
    for name, program in programs.items():
        status, out, _, _ = run([program, "--version"])
        if status != 0 or out.decode() != f"{name} {version}\n":
            fail(f"{name} --version: expected '{name} {version}' and exit 0")
        status, out, _, _ = run([program, "--help"])
        if status != 0 or b"Exit status: 0 " not in out:
            fail(f"{name} --help: expected exit 0 and the exit statuses")
        status, _, err, _ = run([program, "--no-such-option", "x"])
        if status != 2 or b"--no-such-option" not in err:
            fail(f"{name} --no-such-option: expected exit 2, naming the option")
    rcon = programs["questveto-rcon"]
    for arguments, said in ((["--timeout", "0"], b"0 is not a number of seconds above 0"),
                            (["--timeout", "nan"], b"nan is not a number of seconds"),
                            (["--connections", "0"], b"--connections"),
                            ([], b"give --server <host>:<port> or --list <file>")):
        status, _, err, _ = run([rcon] + arguments + ["qv.reload"])
        if status != 2 or said not in err or b"179769" in err:
            fail(f"questveto-rcon {arguments}: expected exit 2 saying {said!r}")


def check_cluster(rcon, work):
    """Silent servers cost one timeout together, not one each; answers come in list order."""
    slow = AnsweringServer("pw", delay=0.5)
    quick = AnsweringServer("pw")
    silent = [SilentServer() for _ in range(4)]
    lines = [f"slow 127.0.0.1:{slow.port} pw"]
    lines += [f"silent{i} 127.0.0.1:{server.port} pw" for i, server in enumerate(silent)]
    lines += [f"quick 127.0.0.1:{quick.port} pw"]
    path = write_list(work, "cluster.txt", ("\n".join(lines) + "\n").encode())
    status, out, err, took = run([rcon, "--list", path, "--timeout", "1", "qv.status"])
    if status != 1 or out != b"slow: ran qv.status\nquick: ran qv.status\n":
        fail("expected both answers in list order and exit 1")
    expected_err = b"".join(f"silent{i}: no answer to the authentication within 1000 ms\n".encode()
                            for i in range(4))
    expected_err += b"questveto-rcon: 4 of 6 servers failed: silent0, silent1, silent2, silent3\n"
    if err != expected_err:
        fail(f"expected on standard error:\n{expected_err.decode()}")
    if took > 3.5 + LOADER_START:
        fail(f"four silent servers with a timeout of 1 s took {took:.1f} s: not asked together")
    # Two connections at a time: the four silent servers take two rounds of their timeout.
    status, _, _, took = run([rcon, "--list", path, "--timeout", "1", "--connections", "2",
                              "qv.status"])
    if status != 1 or took < 1.9:
        fail(f"with --connections 2 four silent servers took {took:.1f} s, less than two rounds")


def check_refused_lists(rcon, work):
    """Lists that cannot be used: exit 2, line and column, and never the password."""
    port = AnsweringServer(SECRET).port
    refused = [
        (SECRET.encode() + b"\n", "1:13: no <host>:<port> after the name"),
        (f"127.0.0.1:{port} {SECRET}\n".encode(), "1:1: the line begins with an address"),
        (f"island 127.0.0.1 {SECRET}\n".encode(),
         "1:8: the address is not <host>:<port>: no ':' before the port"),
        (b"island \x1b[2J\x07\x00\xff" + SECRET.encode() + b"\n",
         "1:8: a control character: the list holds text only"),
        (f"island 127.0.0.1:{port} caf".encode() + b"\xe9" + SECRET.encode() + b"\n",
         f"1:{len(f'island 127.0.0.1:{port} caf') + 1}: not UTF-8 text"),
        (f"# cluster\n127.0.0.1:{port} {SECRET}\n".encode("utf-16-le"),
         "2:1: the line begins with an address"),
    ]
    for data, said in refused:
        path = write_list(work, "refused.txt", data)
        status, out, err, _ = run([rcon, "--list", path, "qv.status"],
                                  environment=without_password())
        if status != 2 or out or not err.startswith(f"questveto-rcon: {path}:{said}".encode()):
            fail(f"expected exit 2 and only 'questveto-rcon: {path}:{said}...'")
        if SECRET.encode() in err or b"\x1b" in err or b"\0" in err:
            fail("the message shows the line's text")


def check_encodings_and_replies(rcon, work):
    """UTF-16 lists are read; a reply's control characters are written escaped."""
    server = AnsweringServer(SECRET, reply="\x1b[31mred\x07 \u00e9t\u00e9\r\nnext")
    text = f"\ufeff\u00eele 127.0.0.1:{server.port} {SECRET}\r\n"
    for encoding in ("utf-8", "utf-16-le", "utf-16-be"):
        path = write_list(work, f"list-{encoding}.txt", text.encode(encoding))
        status, out, err, _ = run([rcon, "--list", path, "qv.status"])
        expected = "\u00eele: \\x1B[31mred\\x07 \u00e9t\u00e9\\x0D\n\u00eele: next\n".encode()
        if status != 0 or out != expected or err:
            fail(f"the list in {encoding}: expected exit 0 and standard output\n"
                 f"{expected.decode()}")


def check_password_without_terminal(rcon, work):
    """No terminal and no password: an error at once, even on a pipe that never closes."""
    server = AnsweringServer(SECRET)
    address = f"127.0.0.1:{server.port}"
    silent_pipe = subprocess.Popen(LOADER + [rcon, "--server", address, "qv.status"],
                                   stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                   stderr=subprocess.PIPE, env=without_password())
    try:
        out, err = silent_pipe.communicate(timeout=10 + LOADER_START)
    except subprocess.TimeoutExpired:
        silent_pipe.kill()
        fail("questveto-rcon waits on a pipe that never closes for a password")
    finally:
        silent_pipe.stdin.close()
    print(err.decode())
    if silent_pipe.returncode != 2 or b"--password-stdin" not in err:
        fail("without a terminal: expected exit 2 naming --password-stdin")
    # Asked for explicitly, standard input comes before the environment.
    environment = dict(without_password(), QUESTVETO_RCON_PASSWORD="not-" + SECRET)
    status, out, _, _ = run([rcon, "--server", address, "--password-stdin", "qv.status"],
                            environment=environment, input_bytes=f"{SECRET}\r\n".encode())
    if status != 0 or out != f"{address}: ran qv.status\n".encode():
        fail("--password-stdin: expected the reply and exit 0")


class Prompt:
    """questveto-rcon on a pseudo-terminal, up to its password prompt."""

    def __init__(self, rcon, address):
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            os.execve(rcon, [rcon, "--server", address, "qv.status"], without_password())
        self.shown = b""
        self.expect(b"Password: ")

    def expect(self, text):
        deadline = time.monotonic() + TIMEOUT
        while text not in self.shown:
            if time.monotonic() > deadline:
                fail(f"no {text!r} on the terminal; it shows {self.shown!r}")
            if select.select([self.fd], [], [], 0.1)[0]:
                try:
                    self.shown += os.read(self.fd, 4096)
                except OSError:
                    fail(f"the terminal closed before {text!r}; it shows {self.shown!r}")

    def echoes(self):
        return bool(termios.tcgetattr(self.fd)[3] & termios.ECHO)

    def finish(self):
        """The program's wait status; the terminal's output is read to its end meanwhile."""
        deadline = time.monotonic() + TIMEOUT
        while time.monotonic() < deadline:
            done, status = os.waitpid(self.pid, os.WNOHANG)
            if done:
                return status
            if select.select([self.fd], [], [], 0.1)[0]:
                try:
                    self.shown += os.read(self.fd, 4096)
                except OSError:
                    pass
        os.kill(self.pid, signal.SIGKILL)
        fail("questveto-rcon did not end after its prompt")


def check_prompt(rcon):
    """The echo is off while asking and on again however the prompt ends."""
    server = AnsweringServer(SECRET)
    address = f"127.0.0.1:{server.port}"
    endings = [
        ("Enter", lambda p: os.write(p.fd, SECRET.encode() + b"\n"), ("exit", 0)),
        ("Ctrl-D", lambda p: os.write(p.fd, b"\x04"), ("exit", 2)),
        ("Ctrl-C", lambda p: os.write(p.fd, b"\x03"), ("signal", signal.SIGINT)),
        ("SIGTERM", lambda p: os.kill(p.pid, signal.SIGTERM), ("signal", signal.SIGTERM)),
    ]
    for name, end, expected in endings:
        prompt = Prompt(rcon, address)
        if prompt.echoes():
            fail(f"{name}: the terminal echoes at the password prompt")
        end(prompt)
        status = prompt.finish()
        ended = ("exit", os.WEXITSTATUS(status)) if os.WIFEXITED(status) else \
            ("signal", os.WTERMSIG(status))
        print(f"{name}: {ended}, terminal shows {prompt.shown!r}")
        if ended != expected:
            fail(f"{name} at the prompt: expected {expected}, got {ended}")
        if not prompt.echoes():
            fail(f"{name} at the prompt left the terminal without echo")
        if SECRET.encode() in prompt.shown:
            fail(f"{name}: the typed password was echoed")
        os.close(prompt.fd)


def check_readable_list(rcon, work):
    """A warning when other users can read the passwords of a list, none when they cannot."""
    server = AnsweringServer(SECRET)
    data = f"island 127.0.0.1:{server.port} {SECRET}\n".encode()
    # Wine gives a Linux file the access list its mode stands for: Everyone may read a file of
    # mode 0644, only its owner one of mode 0600.
    modes = ((0o644, True), (0o600, False)) if LOADER else \
        ((0o644, True), (0o640, True), (0o600, False))
    for mode, warned in modes:
        path = write_list(work, "passwords.txt", data, mode)
        status, _, err, _ = run([rcon, "--list", path, "qv.status"])
        if LOADER:
            warning = (f"questveto-rcon: warning: {path} holds passwords and other users can read "
                       f"it (Everyone): make it yours alone, with icacls \"{path}\" "
                       f"/inheritance:r /grant:r \"%USERNAME%:F\"\n").encode()
        else:
            warning = (f"questveto-rcon: warning: {path} holds passwords and other users can read "
                       f"it (mode {mode:04o}): make it yours alone, with chmod 600 {path}\n").encode()
        if status != 0 or err != (warning if warned else b""):
            fail(f"mode {mode:04o}: expected exit 0 and "
                 + ("the warning" if warned else "no warning"))


def main():
    global LOADER, LOADER_START
    parser = argparse.ArgumentParser()
    parser.add_argument("--loader")
    for name in ("rcon", "checker", "sandbox", "version", "work"):
        parser.add_argument(f"--{name}", required=True)
    arguments = parser.parse_args()
    os.makedirs(arguments.work, exist_ok=True)
    if arguments.loader:
        LOADER = [arguments.loader]
        LOADER_START = max(run([arguments.rcon, "--version"])[3] for _ in range(3))
    check_shared_command_line({"questveto-rcon": arguments.rcon,
                               "questveto-config-check": arguments.checker,
                               "questveto-sandbox": arguments.sandbox}, arguments.version)
    check_cluster(arguments.rcon, arguments.work)
    check_refused_lists(arguments.rcon, arguments.work)
    check_encodings_and_replies(arguments.rcon, arguments.work)
    check_password_without_terminal(arguments.rcon, arguments.work)
    if not LOADER:
        check_prompt(arguments.rcon)
    check_readable_list(arguments.rcon, arguments.work)
    print("PASS")


if __name__ == "__main__":
    main()
