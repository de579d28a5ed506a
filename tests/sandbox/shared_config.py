#!/usr/bin/env python3
"""Two servers of a cluster share one config.json through a symbolic link each, as the operators'
manual's recipe sets them up: an edit of the shared file takes effect on a server at its own "qv.reload"
(sent over RCON) and on that server alone, the other keeping what it read until it reloads too;
a reload that meets a broken file fails on that server alone, which keeps its configuration.
The two RCON passwords come from a file and from the environment, never the command line, and a
wrong one is refused.

For the Windows build the sandbox runs through --loader (Wine). The links are Linux symbolic
links, which Wine follows as Windows follows those mklink makes: Wine 8's mklink makes hard links
only (its symbolic links are not implemented), and a hard link is what the recipe warns against.

Usage: shared_config.py [--loader LOADER] --sandbox SANDBOX --config-file PATH --work DIR
  PATH is the config file's place inside a server directory.
"""
import argparse
import os
import secrets
import shutil
import socket
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from sandbox_process import TIMEOUT, SandboxProcess  # noqa: E402

PASSWORD_VARIABLE = "QUESTVETO_SANDBOX_RCON_PASSWORD"
AUTH, EXEC = 3, 2


def fail(message):
    sys.exit(f"FAIL: {message}")


def read_exactly(connection, count):
    data = b""
    while len(data) < count:
        chunk = connection.recv(count - len(data))
        if not chunk:
            fail("the server closed the RCON connection")
        data += chunk
    return data


def send_packet(connection, request_id, kind, body):
    payload = struct.pack("<ii", request_id, kind) + body.encode("utf-8") + b"\0\0"
    connection.sendall(struct.pack("<i", len(payload)) + payload)


def receive_packet(connection):
    (size,) = struct.unpack("<i", read_exactly(connection, 4))
    payload = read_exactly(connection, size)
    request_id, _ = struct.unpack("<ii", payload[:8])
    return request_id, payload[8:-2].decode("utf-8")


def rcon(port, password, command):
    """`command`'s reply over RCON, or None when the password is refused."""
    with socket.create_connection(("127.0.0.1", port), timeout=TIMEOUT) as connection:
        send_packet(connection, 1, AUTH, password)
        verdict, _ = receive_packet(connection)
        if verdict == -1:
            return None
        send_packet(connection, 2, EXEC, command)
        return receive_packet(connection)[1]


def replace_shared(path, text):
    """Writes the shared file as the recipe says to: a new file renamed over the old one."""
    with open(path + ".new", "w", encoding="utf-8") as file:
        file.write(text)
    os.replace(path + ".new", path)


class Server(SandboxProcess):
    """A sandbox in `server_dir` with RCON on a free port, its console on a pipe, once it has read
    a configuration of one entry."""

    def __init__(self, name, command, server_dir, environment):
        super().__init__(command + ["--dir", server_dir, "--no-sample-config", "--rcon-port", "0"],
                         name, environment)
        self.wait_for(r"Loaded config from .*: 1 entry")
        self.port = int(self.wait_for(r"^RCON listening on 127\.0\.0\.1:(\d+)$").group(1))

    def type(self, line, answer):
        """Types `line` on the console and waits for `answer` (a regular expression)."""
        self.process.stdin.write(line + "\n")
        self.process.stdin.flush()
        self.wait_for(answer)

    def start(self, player, mission, refused):
        answer = (f'^The start of "{mission}" by {player} was refused$' if refused
                  else f'^{player} started "{mission}"$')
        self.type(f"start {player} {mission}", answer)

    def quit(self):
        self.type("quit", r"^Unloaded plugin ")
        status = self.process.wait(timeout=TIMEOUT)
        if status != 0:
            fail(f"{self.name} exited with {status}")


def linked_server_dir(work, name, config_file, shared):
    server_dir = os.path.join(work, name)
    config = os.path.join(server_dir, config_file)
    os.makedirs(os.path.dirname(config))
    os.symlink(shared, config)
    return server_dir


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--loader")
    for option in ("sandbox", "config-file", "work"):
        parser.add_argument("--" + option, required=True)
    args = parser.parse_args()
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    shared = os.path.join(args.work, "cluster", "config.json")
    os.makedirs(os.path.dirname(shared))
    # The summary of the read at load tells that a server has its configuration.
    replace_shared(shared, '{"DisabledMissions": ["Hunt"], "ShowConfigSummary": true}')

    island_password, center_password = secrets.token_hex(8), secrets.token_hex(8)
    password_file = os.path.join(args.work, "island-rcon-password.txt")
    with open(password_file, "w", encoding="utf-8", newline="\r\n") as file:
        file.write("\ufeff" + island_password + "\nnot the password\n")  # as Notepad saves it
    environment = dict(os.environ)
    environment.pop(PASSWORD_VARIABLE, None)

    sandbox = ([args.loader] if args.loader else []) + [args.sandbox]
    servers = []
    try:
        island = Server("island", sandbox + ["--rcon-password-file", password_file],
                        linked_server_dir(args.work, "island", args.config_file, shared),
                        environment)
        servers.append(island)
        center = Server("center", sandbox,
                        linked_server_dir(args.work, "center", args.config_file, shared),
                        dict(environment, **{PASSWORD_VARIABLE: center_password}))
        servers.append(center)
        for server, password in ((island, center_password), (center, island_password)):
            if rcon(server.port, password, "qv.reload") is not None:
                fail(f"{server.name} took another server's password")

        # Edited once for the cluster, reloaded on the island only.
        replace_shared(shared, '{"DisabledMissions": ["Gather Wood"]}')
        if rcon(island.port, island_password, "qv.reload") != "QuestVeto: Reloaded config":
            fail("the island did not reload")
        island.start("Bob", "Hunt", refused=False)
        island.start("Bob", "Gather Wood", refused=True)
        center.start("Bob", "Hunt", refused=True)
        center.start("Bob", "Gather Wood", refused=False)

        # A broken shared file fails the center's reload alone; it keeps what it read before.
        replace_shared(shared, '{"DisabledMissions": [')
        if rcon(center.port, center_password, "qv.reload") != "QuestVeto: Failed to reload config":
            fail("the center read a broken file")
        center.start("Alice", "Hunt", refused=True)
        island.start("Alice", "Gather Wood", refused=True)

        # Repaired: the center's reload brings it where the island is.
        replace_shared(shared, '{"DisabledMissions": ["Gather Wood"]}')
        if rcon(center.port, center_password, "qv.reload") != "QuestVeto: Reloaded config":
            fail("the center did not reload")
        center.start("Mira", "Hunt", refused=False)
        center.start("Mira", "Gather Wood", refused=True)
        for server in servers:
            server.quit()
    finally:
        for server in servers:
            server.kill()
    print("two servers sharing a linked config.json: each reload took effect on its own server")


if __name__ == "__main__":
    main()
