#!/usr/bin/env python3
"""Keeps the commands, outputs and code shown in README.md and docs/*.md true to the build.

The documents mark each generated block with a comment line before it and one after it:

    <!-- readme: run COMMAND -->       the block shows "$ COMMAND" and what it prints
    <!-- readme: include PATH -->      the block shows the file PATH of this repository
    <!-- readme: end -->

A run's command line is run by bash in the repository root, with the build's programs
(questveto-sandbox, questveto-config-check, questveto-bench) on PATH, standard error joined to
standard output; its exit status, when not 0, is shown as a last line "[exit status N]". The
output is shown as printed, apart from what changes from run to run: the fresh server
directory's number, the log's date and time and the seconds of mission data read <pid>,
MM/DD/YY hh:mm and <seconds>. The programs print paths as they were given, and their own files
relative to the current directory, so a block holds no path of this machine. A run whose command
names a file of the build that is not there (the Windows build, say) is skipped with a note, never
failed.

The documents are README.md and every Markdown file under docs/, found afresh at each run.
--check compares every block with what it would be now and fails, with a diff, when one differs,
and fails when a relative link names a file, or a heading of a Markdown file, that is not there;
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


def regenerate(name, lines, root, build, notes):
    """The document's lines with every marked block made afresh; `name` is its path for messages."""
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
            sys.exit("%s: the block after line %d has no %s" % (name, start, END))
        old = lines[start:i]
        if not old or not FENCE.match(old[0]) or not FENCE.match(old[-1]):
            sys.exit("%s: the block after line %d is not one fenced code block" % (name, start))
        missing = missing_build_file(argument, root) if kind == "run" else None
        if missing:
            notes.append("%s: skipped (no %s): %s" % (name, missing, argument))
            out.extend(old)
        else:
            body = run_block(argument, root, build) if kind == "run" else include_block(argument, root)
            out.append(old[0])
            out.extend(body.splitlines(keepends=True))
            out.append(old[-1])
    return out


def documents(root):
    """README.md and every Markdown file under docs/, as paths relative to the root."""
    found = ["README.md"]
    for folder, subfolders, files in os.walk(os.path.join(root, "docs")):
        subfolders.sort()
        found.extend(os.path.relpath(os.path.join(folder, file), root)
                     for file in sorted(files) if file.endswith(".md"))
    return found


def without_code_blocks(text):
    """The text without its fenced code blocks and comments."""
    text = re.sub(r"^```.*?^```[^\n]*$", "", text, flags=re.MULTILINE | re.DOTALL)
    return re.sub(r"^<!--.*?-->$", "", text, flags=re.MULTILINE | re.DOTALL)


def prose(text):
    """The text without code and comments, where a link is no link."""
    text = re.sub(r"(`+).+?\1", "", without_code_blocks(text), flags=re.DOTALL)
    return re.sub(r"<!--.*?-->", "", text, flags=re.DOTALL)


def anchors(text):
    """The anchors of a document's headings, made as the repository's web view makes them."""
    made = set()
    for heading in re.findall(r"^#{1,6} +(.+?) *$", without_code_blocks(text), flags=re.MULTILINE):
        slug = re.sub(r"[^\w\- ]", "", heading.replace("`", "").lower()).replace(" ", "-")
        anchor, number = slug, 0
        while anchor in made:
            number += 1
            anchor = "%s-%d" % (slug, number)
        made.add(anchor)
    return made


def broken_links(name, text, root):
    """A message for each relative link of the document whose file or heading is not there."""
    messages = []
    for target in re.findall(r"\]\(([^)\s]+)\)", prose(text)):
        if re.match(r"^[a-z]+:", target):
            continue
        path, _, anchor = target.partition("#")
        linked = os.path.normpath(os.path.join(os.path.dirname(name), path)) if path else name
        if not os.path.exists(os.path.join(root, linked)):
            messages.append("%s: the link %s names no file" % (name, target))
        elif anchor and linked.endswith(".md"):
            with open(os.path.join(root, linked), encoding="utf-8") as file:
                if anchor not in anchors(file.read()):
                    messages.append("%s: the link %s names no heading of %s" % (name, target, linked))
    return messages


def main():
    parser = argparse.ArgumentParser(
        description="Checks or updates the generated blocks of README.md and docs/*.md.")
    mode = parser.add_mutually_exclusive_group(required=True)
    mode.add_argument("--check", action="store_true",
                      help="fail with a diff when a block differs, or when a link leads nowhere")
    mode.add_argument("--update", action="store_true", help="rewrite the blocks in place")
    parser.add_argument("--build", default="build/default", help="the Linux build directory")
    args = parser.parse_args()
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    build = os.path.join(root, args.build)
    failed = []
    for name in documents(root):
        path = os.path.join(root, name)
        with open(path, encoding="utf-8") as file:
            lines = file.readlines()
        notes = []
        fresh = regenerate(name, lines, root, build, notes)
        for note in notes:
            print("readme: " + note)
        if args.update:
            if fresh != lines:
                with open(path, "w", encoding="utf-8") as file:
                    file.writelines(fresh)
                print("readme: %s updated" % name)
            continue
        for message in broken_links(name, "".join(lines), root):
            print("readme: " + message)
            failed.append(name)
        if fresh == lines:
            print("readme: %s agrees with the build" % name)
            continue
        sys.stdout.writelines(difflib.unified_diff(lines, fresh, name, name + " as built now"))
        print("readme: %s differs from what the build shows; run scripts/readme.sh --update" % name)
        failed.append(name)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
