#!/usr/bin/env bash
# Builds the plugin and runs it in the stand-in server. With no arguments it plays the scripted
# session sandbox/demo.txt; "--interactive" reads console lines from the terminal instead (with
# line editing, history and Tab completion); other arguments go to questveto-sandbox as they are
# (--help lists them; --plugin, given once or more, replaces the default QuestVeto, so name it
# too beside a plugin of your own). Without --dir the server runs in a fresh directory that is
# removed at exit; --keep-dir keeps it. "--windows" first runs the Windows build (questveto-sandbox.exe with
# QuestVeto.dll) under Wine instead, with the same choices.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--windows" ]; then
  shift
  scripts/setup.sh --windows-sandbox
  cmake --preset windows >/dev/null
  cmake --build --preset windows --target questveto-sandbox questveto-config-check AskQuestVeto
  prefix="$PWD/build/windows/wineprefix"
  scripts/wine-prefix.sh "$prefix" >/dev/null
  wine=$(sed -n 's/^CMAKE_CROSSCOMPILING_EMULATOR:FILEPATH=//p' build/windows/CMakeCache.txt)
  if [ $# -eq 0 ]; then
    set -- --script sandbox/demo.txt
  elif [ "$1" = "--interactive" ]; then
    shift
  fi
  # Our version.dll, beside the program, instead of the one Wine brings.
  WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES=version=n,b DISPLAY= \
    exec "$wine" build/windows/bin/questveto-sandbox.exe "$@"
fi

scripts/setup.sh --sandbox
cmake --preset default >/dev/null
# The config checker and the example plugin too, which the documentation's commands run from the
# build.
cmake --build --preset default --target questveto-sandbox questveto-config-check AskQuestVeto
if [ $# -eq 0 ]; then
  exec build/default/sandbox/questveto-sandbox --script sandbox/demo.txt
elif [ "$1" = "--interactive" ]; then
  shift
fi
exec build/default/sandbox/questveto-sandbox "$@"
