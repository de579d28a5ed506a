#!/usr/bin/env bash
# Builds the benchmark in the default preset, runs it (medians of five repetitions) and checks the
# medians against the performance targets. Extra arguments go to the benchmark, for instance
# --benchmark_filter=PassedOnStart. Takes about a minute and a half on two cores.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset default >/dev/null
cmake --build --preset default --target questveto-bench
results="$(mktemp --suffix=.json)"
trap 'rm -f "$results"' EXIT
build/default/bench/questveto-bench --benchmark_repetitions=5 --benchmark_min_time=0.1 \
  --benchmark_report_aggregates_only=true --benchmark_out="$results" \
  --benchmark_out_format=json "$@" | grep -v -E '_(mean|stddev|cv) '
if [[ $# -eq 0 ]]; then
  echo
  python3 bench/targets.py "$results"
fi
