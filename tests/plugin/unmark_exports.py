#!/usr/bin/env python3
"""Archives copies of COFF object files without their export marks.

A MinGW object marks what its DLL exports in its .drectve section (-export:NAME directives); a copy
without that section exports nothing by itself, and a module definition file then names the
exports of the DLL linked from it.

Usage: unmark_exports.py --objcopy OBJCOPY --ar AR --out ARCHIVE OBJECT...
"""
import argparse
import os
import subprocess
import tempfile


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--objcopy", required=True)
    parser.add_argument("--ar", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("objects", nargs="+")
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as work:
        copies = []
        for number, path in enumerate(args.objects):
            copy = os.path.join(work, f"{number}-{os.path.basename(path)}")
            subprocess.run([args.objcopy, "--remove-section", ".drectve", path, copy], check=True)
            copies.append(copy)
        if os.path.exists(args.out):
            os.remove(args.out)
        subprocess.run([args.ar, "rcs", args.out] + copies, check=True)


if __name__ == "__main__":
    main()
