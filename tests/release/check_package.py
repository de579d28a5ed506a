#!/usr/bin/env python3
"""Checks the release archive as an operator receives it: its SHA-256 file matches; it holds the
plugin's DLL and the config checker (both stripped), the sample configuration under a name that
is not config.json, the install notes (with Windows line ends) and the licence under
HostApi/Plugins/QuestVeto and nothing else; the DLL carries the project's version; and unpacked
into a fresh server directory it plays the scripted demo exactly as the build it came from does.

Usage: check_package.py --zip FILE --version X.Y.Z --windows LOADER SANDBOX.exe PLUGIN.dll
                        --world FILE --demo FILE --config FILE --work DIR
"""
import argparse
import hashlib
import os
import shutil
import sys
import zipfile

import pe_version
import transcript

FOLDER = "HostApi/Plugins/QuestVeto/"
PROGRAMS = ("questveto-config-check.exe", "questveto-rcon.exe")
CONTENTS = sorted(FOLDER + name for name in ("QuestVeto.dll", *PROGRAMS, "config.sample.json",
                                              "INSTALL.txt", "LICENSE.txt"))


def fail(message):
    sys.exit(f"FAIL: {message}")


def check_checksum(archive):
    checksum_file = archive + ".sha256"
    if not os.path.exists(checksum_file):
        fail(f"no {os.path.basename(checksum_file)} beside the archive")
    with open(checksum_file) as file:
        words = file.read().split()
    with open(archive, "rb") as file:
        digest = hashlib.sha256(file.read()).hexdigest()
    if words != [digest, os.path.basename(archive)]:
        fail(f"{checksum_file} holds {words}, expected [{digest!r}, {os.path.basename(archive)!r}]")


def check_listing(archive):
    with zipfile.ZipFile(archive) as zip_file:
        names = zip_file.namelist()
    print("archive listing:\n  " + "\n  ".join(names))
    files = sorted(name for name in names if not name.endswith("/"))
    if files != CONTENTS:
        fail(f"the archive holds {files}, expected {CONTENTS}")
    for folder in (name for name in names if name.endswith("/")):
        if not FOLDER.startswith(folder):
            fail(f"the archive holds the folder {folder}")


def check_install_notes(archive, version):
    """INSTALL.txt as Windows shows it: Windows line ends (older Notepad shows a file without them
    as one line), and the folder Explorer proposes for the archive named, with the way out of it."""
    with zipfile.ZipFile(archive) as zip_file:
        notes = zip_file.read(FOLDER + "INSTALL.txt")
        # Every text file of the archive, not the notes alone.
        for name in zip_file.namelist():
            if name.endswith((".txt", ".json")):
                bare = zip_file.read(name).replace(b"\r\n", b"")
                if b"\n" in bare or b"\r" in bare:
                    fail(f"{name} has a line end other than CR LF")
    text = notes.decode("utf-8")
    for phrase in (f"QuestVeto-{version}-win64", "File name extensions", "config.json.txt",
                   ".\\questveto-config-check.exe config.json", "copy HostApi\\Plugins"):
        if phrase not in text:
            fail(f"INSTALL.txt does not say {phrase!r}")


def check_stripped(dll):
    names = pe_version.section_names(dll)
    debug = [name for name in names if name.startswith(("/", ".debug"))]
    if debug:
        fail(f"{dll} is not stripped: it has the sections {debug}")


def check_version(dll, version):
    info = pe_version.version_info(dll)
    if info is None:
        fail(f"{dll} has no version resource")
    print(f"version resource: {info}")
    numbers = tuple(int(part) for part in version.split(".")) + (0,)
    expected_strings = {"FileVersion": version, "ProductVersion": version,
                        "ProductName": "QuestVeto"}
    for key in ("FileVersion", "ProductVersion"):
        if info[key] != numbers:
            fail(f"fixed {key} is {info[key]}, expected {numbers}")
    for key, value in expected_strings.items():
        if info["Strings"].get(key) != value:
            fail(f"{key} is {info['Strings'].get(key)!r}, expected {value!r}")
    if not info["Strings"].get("FileDescription"):
        fail("the version resource has no FileDescription")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--zip", required=True)
    parser.add_argument("--version", required=True)
    transcript.add_arguments(parser)
    args = parser.parse_args()
    if not os.path.exists(args.zip):
        fail(f"no {args.zip}: cmake --build --preset windows --target package makes it")
    loader, sandbox, built_plugin = args.windows

    check_checksum(args.zip)
    # The author kit, packed beside it (example_author_kit builds against it).
    check_checksum(args.zip.replace("-win64.zip", "-win64-author-kit.zip"))
    check_listing(args.zip)
    check_install_notes(args.zip, args.version)

    installed = transcript.fresh_server_dir(os.path.join(args.work, "installed"), args.config_file)
    with zipfile.ZipFile(args.zip) as zip_file:
        zip_file.extractall(installed)
    installed_plugin = os.path.join(installed, FOLDER, "QuestVeto.dll")
    check_stripped(installed_plugin)
    for program in PROGRAMS:
        check_stripped(os.path.join(installed, FOLDER, program))
    check_version(installed_plugin, args.version)

    # The operator's configuration: the archive brings only the sample.
    shutil.copy2(args.config, os.path.join(installed, args.config_file))
    built = transcript.fresh_server_dir(os.path.join(args.work, "built"), args.config_file,
                                        args.config)
    try:
        expected = transcript.play([loader, sandbox], built, built_plugin, args.world, args.demo)
        actual = transcript.play([loader, sandbox], installed, installed_plugin, args.world,
                                 args.demo)
    except transcript.TranscriptError as error:
        fail(str(error))
    difference = transcript.first_difference(
        transcript.normalise(expected, built, built_plugin),
        transcript.normalise(actual, installed, installed_plugin))
    if difference:
        fail(f"the installed package plays the demo differently from the build at {difference}")
    print("the installed package plays the demo as the build does")


if __name__ == "__main__":
    main()
