#!/usr/bin/env bash
# Checks (--check) or regenerates (--update) the commands, outputs and code shown in README.md and
# docs/*.md, running them against the build in build/default (and build/windows where a block
# needs it); --check also fails on a link that leads nowhere. Build first; see scripts/readme.py
# for the block markers.
set -euo pipefail
cd "$(dirname "$0")/.."
exec python3 scripts/readme.py "$@"
