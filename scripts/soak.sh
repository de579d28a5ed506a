#!/usr/bin/env bash
# The soak run: scripts/soak.sh [starts] [seed] (default one million starts, a random seed).
# Builds the normal build and runs questveto-soak, which prints a summary and fails on any wrong
# mission start, escaped exception or growth of the game heap ledger or resident memory.
# QV_BUILD_DIR=<dir> uses an already configured build directory instead of the default preset.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
if [ -n "${QV_BUILD_DIR:-}" ]; then
  build=$QV_BUILD_DIR
  cmake --build "$build" -j2 --target questveto-soak
else
  build=build/default
  cmake --preset default >/dev/null
  cmake --build --preset default --target questveto-soak
fi
exec "$build/soak/questveto-soak" "$@"
