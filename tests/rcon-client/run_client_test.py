#!/usr/bin/env python3
"""Runs the npm "rcon" client (client.js) against questveto-sandbox listening on a free port.

Installs the client's locked dependencies into WORK with "npm ci" when they are missing, starts
the sandbox with --rcon-port 0, reads the port from its "RCON listening on" line, runs the client
and checks what it printed and what the sandbox showed; then stops the sandbox with SIGINT, as
Ctrl-C would, and checks that it unloaded the plugin. Exits 77 (skipped) only when npm cannot
reach its registry to install the client.

Then runs the command line README.md shows for sending qv.reload (send.js), as written but for
the port and the password, and checks that it prints the reply.

Usage: run_client_test.py [--loader LOADER] SANDBOX SOURCE_DIR WORK_DIR SAMPLE_CONFIG README
  LOADER runs SANDBOX when it is not a native program (Wine for the Windows build).
"""
import os
import queue
import re
import secrets
import shutil
import signal
import subprocess
import sys
import threading

SKIP = 77
TIMEOUT = 30

EXPECTED_CLIENT_OUTPUT = [
    "wrong password -> error: Authentication failed",
    "authenticated",
    "qv.reload -> QuestVeto: Reloaded config",
    "no.such.command now -> Unknown command: no.such.command",
]


def fail(message):
    print(f"FAIL: {message}")
    sys.exit(1)


def install_client(source, work):
    os.makedirs(work, exist_ok=True)
    for name in ("package.json", "package-lock.json", "client.js", "rcon-calls.js", "send.js"):
        shutil.copy2(os.path.join(source, name), work)
    if os.path.isdir(os.path.join(work, "node_modules", "rcon")):
        return
    for tool in ("node", "npm"):
        if shutil.which(tool) is None:
            fail(f"{tool} is not installed (scripts/setup.sh installs it)")
    # Asked first, with few retries: offline, "npm ci" would retry for minutes before failing.
    ping = subprocess.run(["npm", "ping", "--fetch-retries=1", "--fetch-timeout=20000"], cwd=work,
                          capture_output=True, text=True, timeout=120)
    if ping.returncode != 0:
        print("SKIP: npm cannot reach its registry to install the RCON client:\n" +
              ping.stderr.strip())
        sys.exit(SKIP)
    install = subprocess.run(["npm", "ci", "--no-audit", "--no-fund"], cwd=work,
                             capture_output=True, text=True, timeout=300)
    if install.returncode != 0:
        fail(f"npm ci failed although the registry answers:\n{install.stdout}{install.stderr}")


def send_as_readme_shows(readme, work, port, password):
    """Runs README.md's send.js command line with this run's port and password (the copy in
    `work`, beside the client library npm installed there)."""
    with open(readme, encoding="utf-8") as file:
        shown = re.search(r"^node tests/rcon-client/send\.js (\S+) (\S+) (\S+) (qv\.reload)$",
                          file.read(), re.MULTILINE)
    if not shown:
        fail(f"{readme} shows no line 'node tests/rcon-client/send.js HOST PORT PASSWORD qv.reload'")
    host, command = shown.group(1), shown.group(4)
    sent = subprocess.run(["node", "send.js", host, port, password, command], cwd=work,
                          capture_output=True, text=True, timeout=TIMEOUT)
    print(f"send.js printed:\n{sent.stdout}{sent.stderr}")
    if sent.returncode != 0 or sent.stdout != "QuestVeto: Reloaded config\n":
        fail(f"send.js exited with {sent.returncode}, expected the line QuestVeto: Reloaded config")


def main():
    arguments = sys.argv[1:]
    loader = []
    if arguments[0] == "--loader":
        loader, arguments = arguments[1:2], arguments[2:]
    sandbox, source, work, sample_config, readme = arguments
    install_client(source, work)
    server_dir = os.path.join(work, "server")
    shutil.rmtree(server_dir, ignore_errors=True)
    os.makedirs(os.path.join(server_dir, "HostApi", "Plugins", "QuestVeto"))
    shutil.copy2(sample_config, os.path.join(server_dir, "HostApi", "Plugins", "QuestVeto",
                                              "config.json"))

    password = secrets.token_hex(8)
    server = subprocess.Popen(
        loader + [sandbox, "--dir", server_dir, "--rcon-port", "0",
         "--rcon-password", password],
        stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    lines = queue.Queue()
    output = []

    def pump():
        for line in server.stdout:
            lines.put(line.rstrip("\n"))
        lines.put(None)

    threading.Thread(target=pump, daemon=True).start()

    def wait_for(pattern):
        while True:
            try:
                line = lines.get(timeout=TIMEOUT)
            except queue.Empty:
                fail(f"the sandbox printed no line matching {pattern!r}:\n" + "\n".join(output))
            if line is None:
                fail(f"the sandbox ended before {pattern!r}:\n" + "\n".join(output))
            output.append(line)
            found = re.search(pattern, line)
            if found:
                return found

    try:
        port = wait_for(r"^RCON listening on 127\.0\.0\.1:(\d+)$").group(1)
        client = subprocess.run(["node", "client.js", port, password], cwd=work,
                                capture_output=True, text=True, timeout=TIMEOUT)
        print("client printed:\n" + client.stdout + client.stderr)
        if client.returncode != 0:
            fail(f"the client exited with {client.returncode}")
        if client.stdout.splitlines() != EXPECTED_CLIENT_OUTPUT:
            fail("the client printed something else than:\n" + "\n".join(EXPECTED_CLIENT_OUTPUT))
        wait_for(r"^\[rcon #\d+ reply 4242\] Unknown command: no\.such\.command$")
        send_as_readme_shows(readme, work, port, password)

        server.send_signal(signal.SIGINT)
        wait_for(r"^Signal SIGINT received$")
        wait_for(r"^Unloaded plugin ")
        status = server.wait(timeout=TIMEOUT)
        if status != 0:
            fail(f"the sandbox exited with {status}")
    finally:
        if server.poll() is None:
            server.kill()
            server.wait()
    print("sandbox printed:\n" + "\n".join(output))


if __name__ == "__main__":
    main()
