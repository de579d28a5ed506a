#!/usr/bin/env bash
# Runs every test executable of the normal build (the plugin loaded through the loader included)
# under valgrind memcheck; any memory error or leak fails the run. Death tests run as they are:
# their forked children stay under valgrind and die as expected. No suppressions are needed.
# QV_BUILD_DIR=<dir> uses an already configured build directory instead of the default preset.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
if [ -n "${QV_BUILD_DIR:-}" ]; then
  build=$QV_BUILD_DIR
  cmake --build "$build" -j2
else
  build=build/default
  cmake --preset default >/dev/null
  cmake --build --preset default
fi

# The test commands ctest knows whose program belongs to this build (not the Python checks),
# with their arguments, shell-quoted.
mapfile -t commands < <(ctest --test-dir "$build" --show-only=json-v1 | python3 -c '
import json, os, shlex, sys
build = os.path.realpath(sys.argv[1])
for test in json.load(sys.stdin)["tests"]:
    command = test["command"]
    if os.path.realpath(command[0]).startswith(build + os.sep):
        print(shlex.join(command))
' "$build")

log=$(mktemp)
trap 'rm -f "$log"' EXIT
failed=0
for command in "${commands[@]}"; do
  echo "valgrind: $command"
  if ! eval valgrind --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite,possible \
      -q "$command" >"$log" 2>&1; then
    cat "$log"
    echo "valgrind: FAILED: $command"
    failed=1
  fi
done
[ "$failed" -eq 0 ] && echo "valgrind: no errors in ${#commands[@]} test programs"
exit "$failed"
