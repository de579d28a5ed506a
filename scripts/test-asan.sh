#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer (preset "asan",
# build/asan) and runs every test suite there; any sanitizer report fails its suite.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan
