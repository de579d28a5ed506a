#!/usr/bin/env python3
"""Installs the release archive as an operator does, under Wine, and updates an install with it.

Fresh install: the archive unpacked into an empty server directory brings no config.json; the
plugin's first starts refuse nothing and the server log says why; after the operator writes a
configuration made from the packaged sample and runs qv.reload, a start is refused; the packaged
checker reports on the installed file. Update: unpacked over an install that holds the operator's
config.json, the archive leaves that file byte for byte as it was, and the plugin goes on
refusing what it lists. Prints both transcripts.

Usage: install_update.py --zip FILE --windows LOADER SANDBOX.exe PLUGIN.dll --world FILE
                         --work DIR
"""
import argparse
import json
import os
import subprocess
import sys
import zipfile

import transcript

FOLDER = os.path.join("HostApi", "Plugins", "QuestVeto")
# An operator's file as editors leave it: Windows line ends, a byte order mark, own spacing.
OPERATORS_CONFIG = (b'\xef\xbb\xbf{\r\n  "DisabledMissions" : [ "Gather" ],\r\n'
                    b'  "ShowMissionNames": true\r\n}\r\n')


def fail(message):
    sys.exit(f"FAIL: {message}")


def unpack(archive, server_dir):
    with zipfile.ZipFile(archive) as zip_file:
        zip_file.extractall(server_dir)


def play(loader, sandbox, server_dir, world, lines):
    """The sandbox in `server_dir` as it is (no sample copied in), running `lines`; its output."""
    script = os.path.join(server_dir, "..", os.path.basename(server_dir) + ".script")
    with open(script, "w", encoding="utf-8") as file:
        file.write("\n".join(lines) + "\n")
    plugin = os.path.join(server_dir, FOLDER, "QuestVeto.dll")
    run = subprocess.run([loader, sandbox, "--dir", server_dir, "--no-sample-config", "--plugin",
                          plugin, "--world", world, "--script", script],
                         stdin=subprocess.DEVNULL, capture_output=True, timeout=transcript.TIMEOUT)
    output = run.stdout.decode("utf-8", "replace").replace("\r\n", "\n")
    print(output)
    if run.returncode != 0:
        fail(f"the sandbox exited with {run.returncode}:\n{output}{run.stderr.decode()}")
    return output


def expect(output, present=(), absent=()):
    for text in present:
        if text not in output:
            fail(f"expected {text!r} in:\n{output}")
    for text in absent:
        if text in output:
            fail(f"did not expect {text!r} in:\n{output}")


def server_log(args, server_dir):
    with open(os.path.join(server_dir, args.log_file), encoding="utf-8") as file:
        return file.read()


def fresh_install(args, loader, sandbox):
    server_dir = transcript.fresh_server_dir(os.path.join(args.work, "fresh"), args.config_file)
    unpack(args.zip, server_dir)
    folder = os.path.join(server_dir, FOLDER)
    config_path = os.path.join(server_dir, args.config_file)
    if os.path.exists(config_path):
        fail("the archive brought a config.json")
    # The operator's first edit: the sample with a mission listed.
    with open(os.path.join(folder, "config.sample.json"), encoding="utf-8") as file:
        config = json.load(file)
    config["DisabledMissions"] = ["Hunt"]
    print("--- fresh install")
    output = play(loader, sandbox, server_dir, args.world, [
        "start Bob Hunt", "start Alice Race to the Summit", "data Bob",
        "write-config " + json.dumps(config), "qv.reload", "as Mira qv.reload",
        "start Mira The Great Hunt"])
    before, after = output.split("write-config", 1)
    expect(before, present=['Bob started "Hunt"', 'Alice started "Race to the Summit"'],
           absent=["refused"])
    expect(after, present=["QuestVeto: Reloaded config",
                           'The start of "The Great Hunt" by Mira was refused'])
    expect(server_log(args, server_dir),
           # The plugin writes the path the Windows way, with backslashes only.
           present=[f"Failed to load config from {server_dir}/{args.config_file}!".replace("/", "\\"),
                    "Can't open config.json"])

    checker = [loader, os.path.join(folder, "questveto-config-check.exe")]
    status, report = run_checker(checker + [config_path, "The Great Hunt"])
    print("--- the packaged checker on the installed config.json\n" + report)
    if status != 0:
        fail(f"the checker exited with {status}")
    expect(report, present=['mission "The Great Hunt": switched off by entry 1 "Hunt"'])
    # The sample itself switches nothing off, so a copy left unedited refuses nothing.
    status, report = run_checker(checker + [os.path.join(folder, "config.sample.json"), "Hunt"])
    expect(report, present=['mission "Hunt": not switched off'])


def run_checker(command):
    """The checker's exit status and everything it printed."""
    check = subprocess.run(command, capture_output=True, timeout=transcript.TIMEOUT)
    return check.returncode, (check.stdout + check.stderr).decode("utf-8", "replace").replace(
        "\r\n", "\n")


def update(args, loader, sandbox):
    server_dir = transcript.fresh_server_dir(os.path.join(args.work, "update"), args.config_file)
    config_path = os.path.join(server_dir, args.config_file)
    unpack(args.zip, server_dir)  # the install before
    with open(config_path, "wb") as file:
        file.write(OPERATORS_CONFIG)
    unpack(args.zip, server_dir)  # the update
    with open(config_path, "rb") as file:
        if file.read() != OPERATORS_CONFIG:
            fail("the update changed the operator's config.json")
    print("--- update over an install with the operator's config.json")
    output = play(loader, sandbox, server_dir, args.world, ["start Alice Gather Wood"])
    expect(output, present=['The start of "Gather Wood" by Alice was refused'])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--zip", required=True)
    parser.add_argument("--windows", nargs=2, required=True, metavar=("LOADER", "SANDBOX"))
    parser.add_argument("--world", required=True)
    parser.add_argument("--work", required=True)
    transcript.add_config_file_argument(parser)
    parser.add_argument("--log-file", required=True)
    args = parser.parse_args()
    loader, sandbox = args.windows
    fresh_install(args, loader, sandbox)
    update(args, loader, sandbox)
    print("install and update: passed")


if __name__ == "__main__":
    main()
