#!/usr/bin/env bash
# Builds the benchmarks in the default preset, runs them (medians of five repetitions) and checks
# the medians against the performance targets: questveto-bench, the plugin's cost to a server, and
# questveto-checker-bench, the config checker's on files of every shape. Extra arguments go to
# questveto-bench alone, for instance --benchmark_filter=PassedOnStart. Takes about two and a half
# minutes on two cores.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset default >/dev/null
cmake --build --preset default --target questveto-bench questveto-checker-bench
results="$(mktemp --suffix=.json)"
checker="$(mktemp --suffix=.json)"
trap 'rm -f "$results" "$checker"' EXIT
run() {
  local program="$1" out="$2"
  shift 2
  "build/default/bench/$program" --benchmark_repetitions=5 --benchmark_min_time=0.1 \
    --benchmark_report_aggregates_only=true --benchmark_out="$out" \
    --benchmark_out_format=json "$@" | grep -v -E '_(mean|stddev|cv) '
}
run questveto-bench "$results" "$@"
if [[ $# -eq 0 ]]; then
  echo
  run questveto-checker-bench "$checker"
  echo
  python3 bench/targets.py "$results" "$checker"
fi
