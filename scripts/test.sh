#!/usr/bin/env bash
# Builds everything and runs every test suite.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset default
cmake --build --preset default
ctest --preset default

# QuestVeto.dll and the same suites for Windows x64, run under Wine.
cmake --preset windows
cmake --build --preset windows
ctest --preset windows
