#!/usr/bin/env python3
"""A plugin author's build outside the repository: the QuestVeto build's author kit is installed
(cmake --install --component AuthorKit) into a fresh prefix, examples/AskQuestVeto is copied to a
folder of its own and built against the installed package alone (find_package(QuestVeto CONFIG),
asked for C++14 so that the kit must raise it to the C++17 the client header needs), and the plugin
it gives is played beside QuestVeto in the sandbox by ask_questveto.py.

With --kit-archive the kit is the release's author kit archive, unpacked, instead. With
--kit-toolchain the example is cross-built with the toolchain file the kit carries (its path
inside the kit), which must find the kit by itself; --define passes the toolchain its settings.
With --host-import-names the kit's host import library (lib/version.lib, read with --nm) must
name exactly the functions that file lists.

Usage: author_kit.py --cmake CMAKE --build QUESTVETO_BUILD [--kit-archive ZIP]
                     --example-source DIR [--kit-toolchain PATH [--define NAME=VALUE]...]
                     [--nm NM --host-import-names FILE]
                     --work DIR -- ASK_QUESTVETO_ARGUMENTS (without --example and --work)
"""
import argparse
import glob
import os
import shutil
import subprocess
import sys
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))


def run(command):
    print("$ " + " ".join(command), flush=True)
    done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=600)
    output = done.stdout.decode("utf-8", "replace")
    if done.returncode != 0:
        sys.exit(f"FAIL: exited with {done.returncode}:\n{output}")
    return output


def check_host_imports(nm, library, names_file):
    """The host functions `library` (an import library) provides must be those `names_file`
    lists, one name a line (lines indented or starting with # are not names)."""
    with open(names_file, encoding="utf-8") as file:
        expected = {line.strip() for line in file
                    if line.strip() and not line.startswith(("#", " "))}
    symbols = run([nm, "--defined-only", "--just-symbol-name", library]).split()
    provided = {name[len("__imp_"):] for name in symbols if name.startswith("__imp_")}
    if provided != expected:
        sys.exit(f"FAIL: {library} provides {sorted(provided - expected)} beyond the host's "
                 f"functions and lacks {sorted(expected - provided)}")
    print(f"{library} provides the {len(expected)} host functions", flush=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cmake", required=True)
    parser.add_argument("--build", required=True)
    parser.add_argument("--example-source", required=True)
    parser.add_argument("--kit-archive")
    parser.add_argument("--kit-toolchain")
    parser.add_argument("--define", action="append", default=[])
    parser.add_argument("--nm")
    parser.add_argument("--host-import-names")
    parser.add_argument("--work", required=True)
    parser.add_argument("ask", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    shutil.rmtree(args.work, ignore_errors=True)
    kit, source, build = (os.path.join(args.work, name)
                          for name in ("kit", "AskQuestVeto", "build"))

    if args.kit_archive:
        print(f"unpacking {args.kit_archive} into {kit}", flush=True)
        with zipfile.ZipFile(args.kit_archive) as archive:
            archive.extractall(kit)
    else:
        run([args.cmake, "--install", args.build, "--component", "AuthorKit", "--prefix", kit])
    if args.host_import_names:
        check_host_imports(args.nm, os.path.join(kit, "lib", "version.lib"),
                           args.host_import_names)
    shutil.copytree(args.example_source, source)
    configure = [args.cmake, "-S", source, "-B", build, "-DCMAKE_BUILD_TYPE=Release",
                 "-DCMAKE_CXX_STANDARD=14"]
    if args.kit_toolchain:
        configure += ["--toolchain", os.path.join(kit, args.kit_toolchain)]
    else:
        configure += ["-DCMAKE_PREFIX_PATH=" + kit]
    configure += ["-D" + define for define in args.define]
    run(configure)
    run([args.cmake, "--build", build])
    built = [path for pattern in ("AskQuestVeto.so", "AskQuestVeto.dll")
             for path in glob.glob(os.path.join(build, "**", pattern), recursive=True)]
    if len(built) != 1:
        sys.exit(f"FAIL: the build gave {built or 'no plugin'}")
    print("built " + built[0], flush=True)

    ask = [arg for arg in args.ask if arg != "--"]
    played = subprocess.run([sys.executable, os.path.join(HERE, "ask_questveto.py")] + ask +
                            ["--example", built[0], "--work", os.path.join(args.work, "play")])
    sys.exit(played.returncode)


if __name__ == "__main__":
    main()
