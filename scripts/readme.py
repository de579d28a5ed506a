#!/usr/bin/env python3
"""Keeps the commands, outputs and code shown in README.md true to the build.

README.md marks each generated block with a comment line before it and one after it:

    <!-- readme: run COMMAND -->       the block shows "$ COMMAND" and what it prints
    <!-- readme: include PATH -->      the block shows the file PATH of this repository
    <!-- readme: end -->

A run's command line is run by bash in the repository root, with the build's programs
(questveto-sandbox, questveto-config-check, questveto-bench) on PATH, standard error joined to
standard output; its exit status, when not 0, is shown as a last line "[exit status N]". The
output is shown as printed, apart from what changes from run to run: the fresh server
directory's number, the log's date and time and the seconds of mission data read <pid>,
MM/DD/YY hh:mm and <seconds>. The programs print paths as they were given, and their own files
relative to the current directory, so a block holds no path of this machine. A run whose command names a file of the build that is not there
(the Windows build, say) is skipped with a note, never failed.

--check compares every block with what it would be now and fails, with a diff, when one differs;
--update rewrites the blocks in place.
"""

import argparse
import difflib
import os
import re
import subprocess
import sys

MARK = re.compile(r"^<!-- readme: (run|include) (.+) -->$")
END = "<!-- readme: end -->"
FENCE = re.compile(r"^```")


def normalise(text):
    text = re.sub(r"questveto-sandbox-\d+", "questveto-sandbox-<pid>", text)
    text = re.sub(r"\b\d\d/\d\d/\d\d \d\d:\d\d\b", "MM/DD/YY hh:mm", text)
    text = re.sub(r"CompleteUtcTime = \d+", "CompleteUtcTime = <seconds>", text)
    return text


def missing_build_file(command, root):
    """The first build/... path the command names that does not exist, or None."""
    for path in re.findall(r"\bbuild/[\w./-]+", command):
        if not os.path.exists(os.path.join(root, path)):
            return path
    return None


def run_block(command, root, build):
    env = dict(os.environ)
    programs = [os.path.join(build, d) for d in ("sandbox", "tools/configcheck", "bench")]
    env["PATH"] = os.pathsep.join(programs + [env.get("PATH", "")])
    env["NO_COLOR"] = "1"
    env["TMPDIR"] = "/tmp"  # where a fresh server directory goes, as the README shows
    done = subprocess.run(["bash", "-c", command], cwd=root, env=env, stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, timeout=300)
    # A file with Windows line ends shows on a terminal as any other.
    output = done.stdout.decode("utf-8", "replace").replace("\r\n", "\n")
    if output and not output.endswith("\n"):
        output += "\n"
    if done.returncode != 0:
        output += "[exit status %d]\n" % done.returncode
    return "$ " + command + "\n" + normalise(output)


def include_block(path, root):
    with open(os.path.join(root, path), encoding="utf-8") as file:
        return file.read()


def regenerate(lines, root, build, notes):
    """README lines with every marked block made afresh."""
    out = []
    i = 0
    while i < len(lines):
        line = lines[i]
        out.append(line)
        i += 1
        mark = MARK.match(line.rstrip("\n"))
        if not mark:
            continue
        kind, argument = mark.group(1), mark.group(2)
        start = i
        while i < len(lines) and lines[i].rstrip("\n") != END:
            i += 1
        if i == len(lines):
            sys.exit("README.md: the block after line %d has no %s" % (start, END))
        old = lines[start:i]
        if not old or not FENCE.match(old[0]) or not FENCE.match(old[-1]):
            sys.exit("README.md: the block after line %d is not one fenced code block" % start)
        missing = missing_build_file(argument, root) if kind == "run" else None
        if missing:
            notes.append("skipped (no %s): %s" % (missing, argument))
            out.extend(old)
        else:
            body = run_block(argument, root, build) if kind == "run" else include_block(argument, root)
            out.append(old[0])
            out.extend(body.splitlines(keepends=True))
            out.append(old[-1])
    return out


def main():
    parser = argparse.ArgumentParser(description="Checks or updates README.md's generated blocks.")
    mode = parser.add_mutually_exclusive_group(required=True)
    mode.add_argument("--check", action="store_true", help="fail with a diff when a block differs")
    mode.add_argument("--update", action="store_true", help="rewrite the blocks in place")
    parser.add_argument("--build", default="build/default", help="the Linux build directory")
    args = parser.parse_args()
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    build = os.path.join(root, args.build)
    readme = os.path.join(root, "README.md")
    with open(readme, encoding="utf-8") as file:
        lines = file.readlines()
    notes = []
    fresh = regenerate(lines, root, build, notes)
    for note in notes:
        print("readme: " + note)
    if args.update:
        if fresh != lines:
            with open(readme, "w", encoding="utf-8") as file:
                file.writelines(fresh)
            print("readme: README.md updated")
        return 0
    if fresh == lines:
        print("readme: README.md agrees with the build")
        return 0
    sys.stdout.writelines(difflib.unified_diff(lines, fresh, "README.md", "README.md as built now"))
    print("readme: README.md differs from what the build shows; run scripts/readme.sh --update")
    return 1


if __name__ == "__main__":
    sys.exit(main())
