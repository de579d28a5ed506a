#!/usr/bin/env python3
"""The Linux and the Windows build of questveto-sandbox play the scripted demo, each in a fresh
server directory holding the sample configuration; their transcripts must be identical once
normalised (see transcript.py). Prints the first lines of both.

Usage: compare_transcripts.py --linux SANDBOX PLUGIN --windows LOADER SANDBOX.exe PLUGIN.dll
                              --world FILE --demo FILE --config FILE --work DIR
"""
import argparse
import os
import sys

import transcript

SHOWN_LINES = 12


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--linux", nargs=2, required=True, metavar=("SANDBOX", "PLUGIN"))
    transcript.add_arguments(parser)
    args = parser.parse_args()
    if not os.path.exists(args.linux[0]):
        sys.exit(f"FAIL: no Linux build at {args.linux[0]} (cmake --build --preset default first)")

    builds = {
        "linux": ([args.linux[0]], args.linux[1]),
        "windows": (args.windows[:2], args.windows[2]),
    }
    transcripts = {}
    for name, (command, plugin) in builds.items():
        server_dir = transcript.fresh_server_dir(os.path.join(args.work, name), args.config_file,
                                                 args.config)
        try:
            output = transcript.play(command, server_dir, plugin, args.world, args.demo)
        except transcript.TranscriptError as error:
            sys.exit(f"FAIL: {error}")
        transcripts[name] = transcript.normalise(output, server_dir, plugin)
        print(f"{name} transcript, first lines:")
        print("\n".join(output.splitlines()[:SHOWN_LINES]) + "\n")

    difference = transcript.first_difference(transcripts["linux"], transcripts["windows"])
    if difference:
        sys.exit(f"FAIL: the Windows transcript differs from the Linux one at {difference}")
    print(f"identical after normalising: {len(transcripts['linux'].splitlines())} lines")


if __name__ == "__main__":
    main()
