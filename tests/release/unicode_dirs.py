#!/usr/bin/env python3
"""Runs the sandbox in server directories whose names are not ASCII, a Latin-1, a Cyrillic and a
Japanese one, on Linux or under Wine, with every file it is given there too (the world, the
script, the plugin, the sample config): each is found and read, the sample is copied to where
the plugin looks, the plugin loads it from there (asked for, its summary shows the path as UTF-8,
with the system's separator, in the terminal and in the server log), a start of a listed mission is
refused, and the config checker
reads the file by that path.

Usage: unicode_dirs.py [--loader LOADER] --sandbox SANDBOX --plugin PLUGIN --checker CHECKER
                       --world FILE --config FILE --work DIR
  LOADER runs the programs when they are not native (Wine for the Windows build).
"""
import argparse
import json
import os
import shutil
import subprocess
import sys

import transcript

NAMES = ["Café", "Дом", "サーバー"]


def fail(message):
    sys.exit(f"FAIL: {message}")


def run(command):
    done = subprocess.run(command, stdin=subprocess.DEVNULL, capture_output=True,
                          timeout=transcript.TIMEOUT)
    return done.returncode, done.stdout.decode("utf-8", "replace").replace("\r\n", "\n")


def check_directory(args, loader, name):
    folder = os.path.join(args.work, name)
    server_dir = os.path.join(folder, "srv")
    transcript.fresh_server_dir(folder, args.config_file)
    files = {}
    for option, source in (("--world", args.world), ("--plugin", args.plugin),
                           ("--sample-config", args.config)):
        files[option] = os.path.join(folder, os.path.basename(source))
        shutil.copy2(source, files[option])
    # The sample asks for the summary of each read, the line that shows the path.
    with open(files["--sample-config"], encoding="utf-8") as file:
        sample = json.load(file)
    sample["ShowConfigSummary"] = True
    with open(files["--sample-config"], "w", encoding="utf-8") as file:
        json.dump(sample, file)
    files["--script"] = os.path.join(folder, "start.txt")
    with open(files["--script"], "w", encoding="utf-8") as file:
        file.write("start Bob Hunt\n")
    command = [args.sandbox, "--dir", server_dir]
    for option, path in files.items():
        command += [option, path]
    status, output = run(loader + command)
    print(output)
    config = server_dir + "/" + args.config_file
    # The plugin writes the path the Windows way there, with backslashes only.
    loaded = f"Loaded config from {config.replace('/', chr(92)) if loader else config}: 2 entries"
    for text in (f"No config.json in {server_dir}: copied the sample {files['--sample-config']}",
                 loaded, f"Loaded plugin {files['--plugin']}", "> start Bob Hunt",
                 'The start of "Hunt" by Bob was refused'):
        if text not in output:
            fail(f"{name}: expected {text!r} in:\n{output}")
    if status != 0:
        fail(f"{name}: the sandbox exited with {status}")
    if not os.path.isfile(config):
        fail(f"{name}: no sample at {config}")
    with open(os.path.join(server_dir, args.log_file), "rb") as file:
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
    for option in ("sandbox", "plugin", "checker", "world", "config", "work", "config-file",
                   "log-file"):
        parser.add_argument("--" + option, required=True)
    args = parser.parse_args()
    loader = [args.loader] if args.loader else []
    for name in NAMES:
        check_directory(args, loader, name)
    print("server directories named " + ", ".join(NAMES) + ": passed")


if __name__ == "__main__":
    main()
