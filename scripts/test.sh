#!/usr/bin/env bash
# Builds everything and runs every test suite.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --workflow --preset default  # configure, build, every suite
scripts/tidy.sh      # clang-tidy over every translation unit: any finding fails
scripts/coverage.sh  # the suites again with gcov: host-bridge/, rules/ and plugin/ at 100% of lines, 95% of branches
QV_BUILD_DIR=build/default scripts/valgrind.sh  # the same test programs under valgrind memcheck
cmake --workflow --preset asan  # every suite again under AddressSanitizer and UndefinedBehaviorSanitizer
FUZZ_SECONDS="${FUZZ_SECONDS:-30}" scripts/fuzz.sh  # each fuzz target for 30 s

# QuestVeto.dll and the same suites for Windows x64, run under Wine; with them the Windows sandbox
# end to end (its demo transcript against the Linux one built above, the RCON client, server
# directories named beyond ASCII), the config checker against the Linux one, and the release
# archive, which its tests make, install into a fresh server directory and update an install with.
cmake --workflow --preset windows

# The commands and outputs of README.md and docs/, now with the Windows build's blocks too.
scripts/readme.sh --check
