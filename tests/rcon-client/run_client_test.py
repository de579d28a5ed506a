#!/usr/bin/env python3
"""The RCON clients operators use, and questveto-rcon, against the sandbox server.

Installs the npm clients' locked dependencies into WORK with "npm ci" when they are missing, then
starts two sandboxes on free ports: "island" with the sample configuration, answering an
authentication with the verdict alone (the default), and "center" with a broken configuration,
answering with an empty response first (--rcon-empty-response-first). Then:
- each npm client (clients.js) against island: a wrong password refused, the right one taken,
  "qv.reload" and an unknown command answered;
- questveto-rcon as the operators' manual (DOC) shows it, with this run's port and the password in the environment,
  then on standard input with --password-stdin;
- questveto-rcon over a list file saved as a Windows editor saves it (byte order mark, CRLF):
  island, center (whose reload fails) and island with a wrong password, at once: it prints
  island's and center's replies, names the refused server and exits 1.
Finally stops both sandboxes with SIGINT, as Ctrl-C would, and checks that each unloaded the
plugin. Exits 77 (skipped) only when npm cannot reach its registry to install the clients.

Usage: run_client_test.py [--loader LOADER] --sandbox SANDBOX --rcon QUESTVETO_RCON
         --source SOURCE_DIR --work WORK_DIR --config SAMPLE_CONFIG --doc DOC
  LOADER runs SANDBOX and QUESTVETO_RCON when they are not native programs (Wine for the Windows
  build).
"""
import argparse
import os
import re
import secrets
import shutil
import signal
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from sandbox_process import TIMEOUT, SandboxProcess  # noqa: E402

SKIP = 77
NPM_CLIENTS = ("rcon", "rcon-srcds", "rcon-client")

EXPECTED_CLIENT_OUTPUT = [
    "wrong password -> refused",
    "right password -> accepted",
    "qv.reload -> QuestVeto: Reloaded config",
    "no.such.command now -> Unknown command: no.such.command",
]


def fail(message):
    print(f"FAIL: {message}")
    sys.exit(1)


def install_clients(source, work):
    os.makedirs(work, exist_ok=True)
    for name in ("package.json", "package-lock.json", "clients.js"):
        shutil.copy2(os.path.join(source, name), work)
    if all(os.path.isdir(os.path.join(work, "node_modules", name)) for name in NPM_CLIENTS):
        return
    for tool in ("node", "npm"):
        if shutil.which(tool) is None:
            fail(f"{tool} is not installed (scripts/setup.sh installs it)")
    # Asked first, with few retries: offline, "npm ci" would retry for minutes before failing.
    ping = subprocess.run(["npm", "ping", "--fetch-retries=1", "--fetch-timeout=20000"], cwd=work,
                          capture_output=True, text=True, timeout=120)
    if ping.returncode != 0:
        print("SKIP: npm cannot reach its registry to install the RCON clients:\n" +
              ping.stderr.strip())
        sys.exit(SKIP)
    install = subprocess.run(["npm", "ci", "--no-audit", "--no-fund"], cwd=work,
                             capture_output=True, text=True, timeout=300)
    if install.returncode != 0:
        fail(f"npm ci failed although the registry answers:\n{install.stdout}{install.stderr}")


class Sandbox(SandboxProcess):
    """A sandbox with RCON on a free port, its output gathered line by line."""

    def __init__(self, command, server_dir, config_file, config_text, extra):
        shutil.rmtree(server_dir, ignore_errors=True)
        config = os.path.join(server_dir, config_file)
        os.makedirs(os.path.dirname(config))
        with open(config, "w", encoding="utf-8") as file:
            file.write(config_text)
        self.password = secrets.token_hex(8)
        super().__init__(
            command + ["--dir", server_dir, "--rcon-port", "0", "--rcon-password", self.password] +
            extra)
        self.port = self.wait_for(r"^RCON listening on 127\.0\.0\.1:(\d+)$").group(1)

    def stop(self):
        self.process.send_signal(signal.SIGINT)
        self.wait_for(r"^Signal SIGINT received$")
        self.wait_for(r"^Unloaded plugin ")
        status = self.process.wait(timeout=TIMEOUT)
        if status != 0:
            fail(f"the sandbox exited with {status}")


def run_npm_clients(work, island):
    for name in NPM_CLIENTS:
        client = subprocess.run(["node", "clients.js", name, island.port, island.password],
                                cwd=work, capture_output=True, text=True, timeout=TIMEOUT)
        print(f"{name} printed:\n{client.stdout}{client.stderr}")
        if client.returncode != 0 or client.stdout.splitlines() != EXPECTED_CLIENT_OUTPUT:
            fail(f"{name} did not print, and exit 0 after:\n" + "\n".join(EXPECTED_CLIENT_OUTPUT))


def run_rcon(command, work, password=None, typed=""):
    """Runs questveto-rcon with `password` in the environment (none: unset) and `typed` as its
    standard input."""
    environment = dict(os.environ)
    environment.pop("QUESTVETO_RCON_PASSWORD", None)
    if password is not None:
        environment["QUESTVETO_RCON_PASSWORD"] = password
    ran = subprocess.run(command, cwd=work, env=environment, input=typed, capture_output=True,
                         text=True, timeout=TIMEOUT)
    print(f"$ {' '.join(command)}\n{ran.stdout}{ran.stderr}(exit {ran.returncode})")
    return ran


def run_rcon_as_doc_shows(doc, rcon, work, island):
    """The document's questveto-rcon line, with this run's port, the password in the environment."""
    with open(doc, encoding="utf-8") as file:
        shown = re.search(r"^questveto-rcon --server 127\.0\.0\.1:(\d+) (qv\.reload)$", file.read(),
                          re.MULTILINE)
    if not shown:
        fail(f"{doc} shows no line 'questveto-rcon --server 127.0.0.1:PORT qv.reload'")
    command = rcon + ["--server", f"127.0.0.1:{island.port}", shown.group(2)]
    expected = f"127.0.0.1:{island.port}: QuestVeto: Reloaded config\n"
    piped = command[:-1] + ["--password-stdin", command[-1]]
    for ran in (run_rcon(command, work, island.password),
                run_rcon(piped, work, typed=island.password + "\n")):
        if ran.returncode != 0 or ran.stdout != expected:
            fail("questveto-rcon did not print the server's success reply and exit 0")


def run_rcon_over_a_list(rcon, work, island, center):
    path = os.path.join(work, "cluster.txt")
    lines = ["# name, address and password, as a Windows editor saves them",
             f"island 127.0.0.1:{island.port} {island.password}",
             f"center   127.0.0.1:{center.port}\t{center.password}  ",
             f"scorched 127.0.0.1:{island.port} {island.password}x"]
    with open(path, "wb") as file:
        file.write(b"\xef\xbb\xbf" + "\r\n".join(lines).encode("utf-8") + b"\r\n")
    os.chmod(path, 0o600)  # it holds passwords: readable by its owner alone
    ran = run_rcon(rcon + ["--list", path, "qv.reload"], work)
    expected_out = "island: QuestVeto: Reloaded config\ncenter: QuestVeto: Failed to reload config\n"
    expected_err = ("scorched: the password was refused\n"
                    "questveto-rcon: 2 of 3 servers failed: center, scorched\n")
    if ran.returncode != 1 or ran.stdout != expected_out or ran.stderr != expected_err:
        fail(f"questveto-rcon over the list: expected exit 1, standard output\n{expected_out}"
             f"and standard error\n{expected_err}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--loader", action="append", default=[])
    for name in ("sandbox", "rcon", "source", "work", "config", "doc", "config-file"):
        parser.add_argument(f"--{name}", required=True)
    arguments = parser.parse_args()
    # The programs run with WORK as their directory.
    for name in ("sandbox", "rcon", "source", "work", "config", "doc"):
        setattr(arguments, name, os.path.abspath(getattr(arguments, name)))
    install_clients(arguments.source, arguments.work)
    with open(arguments.config, encoding="utf-8") as file:
        sample = file.read()
    sandbox = arguments.loader + [arguments.sandbox]
    rcon = arguments.loader + [arguments.rcon]

    servers = []
    try:
        island = Sandbox(sandbox, os.path.join(arguments.work, "island"), arguments.config_file,
                         sample, [])
        servers.append(island)
        center = Sandbox(sandbox, os.path.join(arguments.work, "center"), arguments.config_file,
                         '{"DisabledMissions": [', ["--rcon-empty-response-first"])
        servers.append(center)
        run_npm_clients(arguments.work, island)
        island.wait_for(r"^\[rcon #\d+ reply \d+\] Unknown command: no\.such\.command$")
        run_rcon_as_doc_shows(arguments.doc, rcon, arguments.work, island)
        run_rcon_over_a_list(rcon, arguments.work, island, center)
        center.wait_for(r"^\[rcon #\d+ reply \d+\] QuestVeto: Failed to reload config$")
        for server in servers:
            server.stop()
    finally:
        for server in servers:
            server.kill()
    for server in servers:
        print("sandbox printed:\n" + "\n".join(server.output))


if __name__ == "__main__":
    main()
