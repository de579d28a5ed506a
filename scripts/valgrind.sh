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

# The test commands ctest knows that are programs of this build (not the Python symbol check).
mapfile -t programs < <(ctest --test-dir "$build" --show-only=json-v1 | python3 -c '
import json, os, sys
build = os.path.realpath(sys.argv[1])
for test in json.load(sys.stdin)["tests"]:
    program = os.path.realpath(test["command"][0])
    if program.startswith(build + os.sep):
        print(program)
' "$build")

failed=0
for program in "${programs[@]}"; do
  echo "valgrind: ${program#"$PWD/"}"
  if ! valgrind --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite,possible -q \
      "$program" --gtest_brief=1; then
    failed=1
  fi
done
[ "$failed" -eq 0 ] && echo "valgrind: no errors in ${#programs[@]} test programs"
exit "$failed"
