#!/usr/bin/env python3
"""Runs the sandbox in server directories whose names are not ASCII, a Latin-1 one and a Cyrillic
one, on Linux or under Wine: the sample is copied to where the plugin looks, the plugin loads it
from there (its log line shows the path as UTF-8, in the terminal and in the server log), a start
of a listed mission is refused, and the config checker reads the file by that path.

Usage: unicode_dirs.py [--loader LOADER] --sandbox SANDBOX --plugin PLUGIN --checker CHECKER
                       --world FILE --work DIR
  LOADER runs the programs when they are not native (Wine for the Windows build).
"""
import argparse
import os
import subprocess
import sys

import transcript

NAMES = ["Café", "Дом"]


def fail(message):
    sys.exit(f"FAIL: {message}")


def run(command):
    done = subprocess.run(command, stdin=subprocess.DEVNULL, capture_output=True,
                          timeout=transcript.TIMEOUT)
    return done.returncode, done.stdout.decode("utf-8", "replace").replace("\r\n", "\n")


def check_directory(args, loader, name):
    server_dir = os.path.join(args.work, name, "srv")
    transcript.fresh_server_dir(os.path.join(args.work, name))
    script = os.path.join(args.work, "start.txt")
    with open(script, "w", encoding="utf-8") as file:
        file.write("start Bob Hunt\n")
    status, output = run(loader + [args.sandbox, "--dir", server_dir, "--plugin", args.plugin,
                                   "--world", args.world, "--script", script])
    print(output)
    config = server_dir + "/HostApi/Plugins/QuestVeto/config.json"
    loaded = f"Loaded config from {config}: 2 entries"
    for text in (f"No config.json in {server_dir}: copied the sample", loaded,
                 'The start of "Hunt" by Bob was refused'):
        if text not in output:
            fail(f"{name}: expected {text!r} in:\n{output}")
    if status != 0:
        fail(f"{name}: the sandbox exited with {status}")
    if not os.path.isfile(config):
        fail(f"{name}: no sample at {config}")
    with open(os.path.join(server_dir, "HostApi", "Logs", "Server.log"), "rb") as file:
        log = file.read().decode("utf-8")  # fails on anything but UTF-8
    if loaded not in log:
        fail(f"{name}: the server log lacks {loaded!r}:\n{log}")

    status, report = run(loader + [args.checker, config, "Hunt"])
    print(report)
    if status != 0 or 'mission "Hunt": switched off by entry 1 "Hunt"' not in report:
        fail(f"{name}: the checker exited with {status} and reported:\n{report}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--loader")
    for option in ("sandbox", "plugin", "checker", "world", "work"):
        parser.add_argument("--" + option, required=True)
    args = parser.parse_args()
    loader = [args.loader] if args.loader else []
    for name in NAMES:
        check_directory(args, loader, name)
    print("server directories named " + ", ".join(NAMES) + ": passed")


if __name__ == "__main__":
    main()
