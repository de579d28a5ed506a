#!/usr/bin/env bash
# Runs clang-tidy (checks in .clang-tidy) over every translation unit of the default build, two at
# a time, and fails on any finding. Findings in our own headers count; those in the libraries'
# headers do not. File name patterns given as arguments limit the run to the files they match.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset default >/dev/null

# clang-tidy parses with clang, which does not know the GCC-only option in the build's commands;
# it reads a copy of the compilation database without it.
database=build/default/tidy
mkdir -p "$database"
python3 - build/default/compile_commands.json "$database/compile_commands.json" <<'EOF'
import json, sys
commands = json.load(open(sys.argv[1]))
for command in commands:
    command["command"] = command["command"].replace(" -fno-gnu-unique", "")
json.dump(commands, open(sys.argv[2], "w"), indent=1)
EOF

log=build/default/tidy.log
if ! run-clang-tidy-14 -quiet -j 2 -p "$database" "$@" >"$log" 2>&1; then
  grep -E -A3 '(warning|error):' "$log" || tail -n 40 "$log"
  echo "tidy: findings above (full output in $log)"
  exit 1
fi
echo "tidy: no finding"
