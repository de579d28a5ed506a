#!/usr/bin/env bash
# Builds everything with gcov instrumentation (preset "coverage", build/coverage), runs the Linux
# suites, and prints line and branch coverage: first for host-bridge/, rules/ and plugin/, the plugin
# itself, which must reach the thresholds below, then for common/, standin/, sandbox/ and tools/, for
# information.
# Branches are counted without those the compiler adds for exceptions and those it proves
# unreachable. The annotated HTML report is build/coverage/html/index.html.
#
# --report-only skips the build and the suites and reports on the counts the last run left, so
# the thresholds can be checked again after excluding a line or reading the report.
set -euo pipefail
cd "$(dirname "$0")/.."

line_threshold=100
branch_threshold=95
build=build/coverage

if [ "${1:-}" != "--report-only" ]; then
  scripts/setup.sh
  cmake --preset coverage >/dev/null
  cmake --build --preset coverage
  # Counts from an earlier run would add up with this one's.
  find "$build" -name '*.gcda' -delete
  ctest --preset coverage
fi

# gcov reads the counts once; each report below filters the same collected data.
gcovr --root . --object-directory "$build" --exclude-throw-branches \
  --exclude-unreachable-branches --json "$build/coverage.json" "$build"
if ! grep -q '"file": *"host-bridge/' "$build/coverage.json"; then
  # gcov finds the sources by the paths the compiler was given; a compiler cache that rewrote them
  # into relative ones (ccache's base_dir) leaves it none.
  echo "coverage: gcov found no source of host-bridge/; build $build without a compiler cache that rewrites paths"
  exit 1
fi

report() {  # report <title> <filter>... : line and branch table of the files the filters keep
  local title=$1 filters=()
  shift
  for folder in "$@"; do filters+=(--filter "$folder/"); done
  echo "== coverage: $title: lines"
  gcovr --root . --add-tracefile "$build/coverage.json" "${filters[@]}" --txt
  echo "== coverage: $title: branches"
  gcovr --root . --add-tracefile "$build/coverage.json" "${filters[@]}" --txt --branches
}

report "standin/" standin
report "sandbox/" sandbox
report "tools/" tools
report "common/" common
report "host-bridge/, rules/ and plugin/" host-bridge rules plugin
mkdir -p "$build/html"
gcovr --root . --add-tracefile "$build/coverage.json" --filter host-bridge/ --filter rules/ \
  --filter plugin/ --filter common/ --filter standin/ --filter sandbox/ --filter tools/ \
  --html-details "$build/html/index.html"

# The plugin's thresholds; gcovr's status tells which one failed (2: lines, 4: branches).
status=0
gcovr --root . --add-tracefile "$build/coverage.json" --filter host-bridge/ --filter rules/ \
  --filter plugin/ --print-summary --fail-under-line "$line_threshold" \
  --fail-under-branch "$branch_threshold" \
  >"$build/summary.txt" || status=$?
cat "$build/summary.txt"
if [ "$status" -ne 0 ]; then
  echo "coverage: host-bridge/, rules/ and plugin/ are below $line_threshold% of lines or" \
    "$branch_threshold% of branches; the lines and branches not run are marked in" \
    "$build/html/index.html"
  exit 1
fi
echo "coverage: host-bridge/, rules/ and plugin/ reach $line_threshold% of lines and" \
  "$branch_threshold% of branches"
