#!/usr/bin/env python3
"""scripts/readme.py on small repositories of its own: it finds README.md and every Markdown file
under docs/ by itself, checks and updates the generated blocks of each, names the file that
differs, and fails on a relative link that leads to no file or heading.

Usage: readme_documents.py --script scripts/readme.py --work DIR
"""
import argparse
import os
import shutil
import subprocess
import sys


def block(text):
    return "<!-- readme: include shown.txt -->\n```text\n" + text + "```\n<!-- readme: end -->\n"


FRESH = block("fresh\n")
STALE = block("stale\n")

# Each case: the documents of the tree (besides shown.txt, holding "fresh"), the mode, the exit
# status expected and the start of a line the output must hold.
CASES = [
    ("every block as built", {"README.md": FRESH, "docs/notes.md": FRESH},
     "--check", 0, "readme: docs/notes.md agrees with the build"),
    ("a stale block in docs/", {"README.md": FRESH, "docs/notes.md": STALE},
     "--check", 1, "readme: docs/notes.md differs from what the build shows"),
    ("a stale block in a folder under docs/", {"README.md": FRESH, "docs/more/deep.md": STALE},
     "--check", 1, "readme: docs/more/deep.md differs from what the build shows"),
    ("a stale block in the README", {"README.md": STALE, "docs/notes.md": FRESH},
     "--check", 1, "readme: README.md differs from what the build shows"),
    ("a stale block outside README.md and docs/", {"README.md": FRESH, "notes/other.md": STALE},
     "--check", 0, "readme: README.md agrees with the build"),
    ("a link to a file that is not there", {"README.md": "See [notes](docs/gone.md).\n"},
     "--check", 1, "readme: README.md: the link docs/gone.md names no file"),
    ("a link to a heading that is not there",
     {"README.md": "# Top\n", "docs/notes.md": "See [top](../README.md#bottom).\n"},
     "--check", 1, "readme: docs/notes.md: the link ../README.md#bottom names no heading of README.md"),
    ("links to a heading, to one of the same name and within the file",
     {"README.md": "# A `config.json`, in full\n\n## Twice\n\n## Twice\n",
      "docs/notes.md": "[a](../README.md#a-configjson-in-full) [b](../README.md#twice-1) [c](#here)\n"
                       "\n## Here\n"},
     "--check", 0, "readme: docs/notes.md agrees with the build"),
    ("what only looks like a link, in code or a comment",
     {"README.md": "`[a](gone.md)`\n\n```\n[b](gone.md)\n```\n<!-- [c](gone.md) -->\n"},
     "--check", 0, "readme: README.md agrees with the build"),
    ("an update of a stale block in docs/", {"README.md": FRESH, "docs/notes.md": STALE},
     "--update", 0, "readme: docs/notes.md updated"),
]


def make_tree(work, script, documents):
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(os.path.join(work, "scripts"))
    shutil.copy(script, os.path.join(work, "scripts", "readme.py"))
    for name, text in dict(documents, **{"shown.txt": "fresh\n"}).items():
        path = os.path.join(work, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as file:
            file.write(text)


def run(work, mode):
    return subprocess.run([sys.executable, os.path.join(work, "scripts", "readme.py"), mode],
                          capture_output=True, text=True, timeout=60)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--script", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    failures = []
    for title, documents, mode, status, line in CASES:
        make_tree(args.work, args.script, documents)
        done = run(args.work, mode)
        output = done.stdout + done.stderr
        if done.returncode != status or not any(shown.startswith(line) for shown in output.splitlines()):
            failures.append(f"{title}: {mode} exited {done.returncode}, expected {status} and the line\n"
                            f"  {line}\ngot:\n{output}")
        elif mode == "--update" and run(args.work, "--check").returncode != 0:
            failures.append(f"{title}: --check fails after --update:\n{run(args.work, '--check').stdout}")
        else:
            print(f"ok: {title}")
    for failure in failures:
        print("FAIL: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
