#!/usr/bin/env python3
"""No file the release ships names a directory of the machine that built it: the archives'
files (DLLs, programs, libraries, headers, text; in the author kit also the module runtime's
static and import libraries, its header stand-ins and the toolchain file) hold none of the given
paths, in / or \\ form.

Usage: machine_paths.py --zip ARCHIVE... --path DIR...
"""
import argparse
import sys
import zipfile


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--zip", nargs="+", required=True)
    parser.add_argument("--path", nargs="+", required=True)
    args = parser.parse_args()
    needles = set()
    for path in args.path:
        path = path.rstrip("/")
        needles.add(path.encode())
        needles.add(path.replace("/", "\\").encode())
        needles.add(path.replace("/", "\\\\").encode())
    found = []
    for archive in args.zip:
        with zipfile.ZipFile(archive) as zip_file:
            for name in zip_file.namelist():
                content = zip_file.read(name)
                for needle in sorted(needles):
                    if needle in content:
                        found.append(f"{archive}: {name} holds {needle.decode()}")
    if found:
        sys.exit("FAIL: build-machine paths in shipped files:\n  " + "\n  ".join(found))
    print(f"no build-machine path in {len(args.zip)} archives")
    return 0


if __name__ == "__main__":
    sys.exit(main())
