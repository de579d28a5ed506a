#!/usr/bin/env python3
"""The example plugin AskQuestVeto beside QuestVeto in questveto-sandbox, as its author tries it.

Each run starts the sandbox in a fresh server directory holding the sample configuration (which
switches off "Hunt" and "Race to the Summit"), loads the plugins given with --plugin in the order
of the case, plays the case's console lines and checks the transcript: the lines that must show,
in this order, and the lines that must not show at all.

Usage: ask_questveto.py [--loader LOADER] --sandbox SANDBOX --questveto PLUGIN --example PLUGIN
                        --world FILE --config FILE --config-file PATH --work DIR
"""
import argparse
import os
import shutil
import subprocess
import sys

TIMEOUT = 120
QV, ASK = "questveto", "example"


def chat(text):
    return f"[chat to Bob] {text}"


# (case, plugins in load order, console lines, lines shown in this order, lines never shown)
CASES = [
    ("both plugins, QuestVeto first: answers follow the configuration and its reload",
     [QV, ASK],
     ["help",
      "as Bob ask.disabled Hunt",
      "as Bob ask.disabled Gather Wood",
      "start Bob Hunt",
      "as Bob ask.last",
      'write-config {"DisabledMissions": ["gather"]}',
      "as Bob qv.reload",
      "as Bob ask.disabled Gather Wood",
      "as Bob ask.disabled The Great Hunt",
      "ask.disabled Hunt"],
     ["Loaded plugin {questveto}", "Loaded plugin {example}",
      "Registered by plugins:", "  {questveto}: qv.reload qv.status\n",
      "  {example}: ask.disabled ask.last\n",
      chat('"Hunt" is switched off by QuestVeto'),
      chat('"Gather Wood" is not switched off by QuestVeto'),
      # Its hook, placed after QuestVeto's, runs first: it sees the start QuestVeto then refuses.
      'The start of "Hunt" by Bob was refused',
      chat('Last start seen: "Hunt", switched off by QuestVeto'),
      chat("QuestVeto: Reloaded config"),
      chat('"Gather Wood" is switched off by QuestVeto'),
      chat('"The Great Hunt" is not switched off by QuestVeto'),
      "> ask.disabled Hunt",
      "Stopping: unloading the plugins",
      "Unloaded plugin {example}", "Unloaded plugin {questveto}"],
     ["Unknown command"]),
    ("the example first: QuestVeto loaded after it is found, and the bare console reaches both",
     [ASK, QV],
     ["as Bob ask.disabled race to the summit",
      "start Bob Hunt",
      "as Bob ask.last",
      "start Bob Gather Wood",
      "as Bob ask.last",
      'write-config {"DisabledMissions": [',
      "qv.reload",
      "as Bob ask.disabled Race to the Summit",
      "ask.disabled Hunt"],
     ["Loaded plugin {example}", "Loaded plugin {questveto}",
      chat('"race to the summit" is switched off by QuestVeto'),
      # QuestVeto's hook, placed last, runs first: a refused start never reaches the example's.
      'The start of "Hunt" by Bob was refused',
      chat("No mission start has reached AskQuestVeto"),
      'Bob started "Gather Wood"',
      chat('Last start seen: "Gather Wood", not switched off'),
      "[QuestVeto][critical] Failed to reload config!",
      chat('"Race to the Summit" is switched off by QuestVeto'),
      "Unloaded plugin {questveto}", "Unloaded plugin {example}"],
     ["Unknown command"]),
    ("the example alone: QuestVeto is not loaded, and a command without a mission",
     [ASK],
     ["help", "as Bob ask.disabled Hunt", "as Bob ask.disabled", "as Bob qv.reload",
      "start Bob Hunt", "as Bob ask.last"],
     ["Registered by plugins: ask.disabled ask.last\n",
      chat("QuestVeto is not loaded"),
      chat("Usage: ask.disabled <mission>"),
      chat("Unknown command: qv.reload"),
      'Bob started "Hunt"',
      chat('Last start seen: "Hunt", QuestVeto not loaded'),
      "Stopping: unloading the plugin\n"],
     ["switched off"]),
]


def play(args, plugins, lines, work):
    server_dir = os.path.join(work, "server")
    shutil.rmtree(work, ignore_errors=True)
    config = os.path.join(server_dir, args.config_file)
    os.makedirs(os.path.dirname(config))
    shutil.copy2(args.config, config)
    script = os.path.join(work, "script.txt")
    with open(script, "w", encoding="utf-8") as file:
        file.write("\n".join(lines) + "\n")
    command = ([args.loader] if args.loader else []) + [args.sandbox, "--dir", server_dir,
                                                        "--world", args.world, "--script", script]
    for plugin in plugins:
        command += ["--plugin", plugin]
    run = subprocess.run(command, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                         stderr=subprocess.STDOUT, timeout=TIMEOUT)
    output = run.stdout.decode("utf-8", errors="replace").replace("\r\n", "\n")
    return run.returncode, output


def check(output, shown, never):
    """What is wrong with `output`, or None."""
    at = 0
    for line in shown:
        found = output.find(line, at)
        if found < 0:
            return f"missing, or out of order: {line!r}"
        at = found + len(line)
    for line in never:
        if line in output:
            return f"shown, but must not be: {line!r}"
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--loader")
    for name in ("--sandbox", "--questveto", "--example", "--world", "--config", "--work",
                 "--config-file"):
        parser.add_argument(name, required=True)
    args = parser.parse_args()
    paths = {QV: args.questveto, ASK: args.example}
    cases = CASES

    failed = 0
    for number, (case, plugins, lines, shown, never) in enumerate(cases, start=1):
        status, output = play(args, [paths[p] for p in plugins], lines,
                              os.path.join(args.work, f"case{number}"))
        expected = [line.format(**paths) for line in shown]
        problem = (f"exited with {status}" if status != 0 else None) or check(output, expected,
                                                                              never)
        print(f"{'ok  ' if problem is None else 'FAIL'} {case}")
        if problem:
            failed += 1
            print(f"     {problem}\n     transcript:\n{output}")
    if failed:
        sys.exit(f"FAIL: {failed} of {len(cases)} cases")
    print(f"all {len(cases)} cases pass")


if __name__ == "__main__":
    main()
