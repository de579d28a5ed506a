#!/usr/bin/env bash
# Builds the plugin and runs it in the stand-in server. With no arguments it plays the scripted
# session sandbox/demo.txt; "--interactive" reads console lines from the terminal instead; other
# arguments go to questveto-sandbox as they are (--help lists them). Without --dir the server runs
# in a fresh directory that is removed at exit; --keep-dir keeps it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh --sandbox
cmake --preset default >/dev/null
cmake --build --preset default --target questveto-sandbox
if [ $# -eq 0 ]; then
  exec build/default/sandbox/questveto-sandbox --script sandbox/demo.txt
elif [ "$1" = "--interactive" ]; then
  shift
fi
exec build/default/sandbox/questveto-sandbox "$@"
