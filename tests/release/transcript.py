"""Plays the scripted demo in a questveto-sandbox build and makes its transcript comparable.

A transcript differs between runs and builds only in what must: the server directory and plugin
paths (and the separators of paths into the server directory), the clock at the head of log
lines and the UTC seconds written as mission data. normalise() replaces exactly those with
placeholders; everything else, line by line, stays as printed.
"""
import os
import re
import shutil
import subprocess

TIMEOUT = 120

# "12/07/26 13:45 [QuestVeto][info] ..." and "... CompleteUtcTime = 1796648700".
_LOG_CLOCK = re.compile(r"^\d\d/\d\d/\d\d \d\d:\d\d (?=\[)", re.MULTILINE)
_UTC_SECONDS = re.compile(r"(UtcTime = )\d+$", re.MULTILINE)


class TranscriptError(Exception):
    pass


def add_arguments(parser):
    """The arguments every demo check takes: the Windows build, the demo's inputs, a work folder."""
    parser.add_argument("--windows", nargs=3, required=True, metavar=("LOADER", "SANDBOX", "PLUGIN"))
    parser.add_argument("--world", required=True)
    parser.add_argument("--demo", required=True)
    parser.add_argument("--config", required=True)
    parser.add_argument("--work", required=True)
    add_config_file_argument(parser)


def add_config_file_argument(parser):
    """--config-file: where the plugin reads its configuration in a server directory, from the build."""
    parser.add_argument("--config-file", required=True)


def fresh_server_dir(path, config_file, sample_config=None):
    """An empty server directory at path with the folder of config_file (--config-file), and the
    sample configuration there when one is given."""
    shutil.rmtree(path, ignore_errors=True)
    config = os.path.join(path, config_file)
    os.makedirs(os.path.dirname(config))
    if sample_config:
        shutil.copy2(sample_config, config)
    return path


def play(command, server_dir, plugin, world, demo):
    """Runs the sandbox (command: the program, after its loader if any) on the demo; its output."""
    run = subprocess.run(
        command + ["--dir", server_dir, "--plugin", plugin, "--world", world, "--script", demo],
        stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
        timeout=TIMEOUT)
    output = run.stdout.decode("utf-8", errors="replace").replace("\r\n", "\n")
    if run.returncode != 0:
        raise TranscriptError(f"{' '.join(command)} exited with {run.returncode}:\n{output}")
    return output


def normalise(output, server_dir, plugin):
    output = output.replace(plugin, "<plugin>")
    # A path into the server directory: Windows joins its parts with a backslash, and the plugin
    # writes its whole path so.
    for form in (server_dir, server_dir.replace("/", "\\")):
        output = re.sub(re.escape(form) + r"(\S*)",
                        lambda path: "<server dir>" + path.group(1).replace("\\", "/"), output)
    output = _LOG_CLOCK.sub("<clock> ", output)
    return _UTC_SECONDS.sub(r"\g<1><seconds>", output)


def first_difference(expected, actual):
    """A report of the first line where two transcripts part, or None when they are the same."""
    expected_lines, actual_lines = expected.splitlines(), actual.splitlines()
    for number, (want, got) in enumerate(zip(expected_lines, actual_lines), start=1):
        if want != got:
            return f"line {number}:\n  expected: {want!r}\n  actual:   {got!r}"
    if len(expected_lines) != len(actual_lines):
        return f"{len(expected_lines)} lines expected, {len(actual_lines)} printed"
    return None
