#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (preset "fuzz", build/fuzz) and runs each for
# FUZZ_SECONDS seconds (default 60), starting from its seed corpus in fuzz/corpus/<target>/ (and
# with the dictionary fuzz/<target>.dict where there is one), and prints the executions reached.
# A finding stops the run; its input is left in build/fuzz/findings/. Targets can be named as
# arguments; by default all run.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-60}
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_config fuzz_find_substring fuzz_utf8 fuzz_rcon_packet)

scripts/setup.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "${targets[@]}"

findings=build/fuzz/findings
mkdir -p "$findings"
run() {  # run <target>: the target for $seconds, then its executions, or its finding and failure
  local target=$1
  # New inputs go to a scratch corpus; the committed seeds are only read.
  local corpus=build/fuzz/corpus/$target
  mkdir -p "$corpus"
  local options=(-max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$findings/$target-")
  # The stand-in world keeps a record of every start, so nearly every input allocates more than it
  # frees and libFuzzer's leak check would run after each; leaks show in the other targets, the
  # sanitized test suites and valgrind instead.
  [ "$target" = fuzz_config ] && options+=(-detect_leaks=0)
  [ -f "fuzz/$target.dict" ] && options+=(-dict="fuzz/$target.dict")
  local log=build/fuzz/$target.log
  if ! "build/fuzz/fuzz/$target" "${options[@]}" "$corpus" "fuzz/corpus/$target" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz: $target found a fault; input in $findings, log in $log"
    return 1
  fi
  local executions rate
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  echo "fuzz: $target: $executions executions in ${seconds} s ($rate/s), no finding"
}

# One chain of targets per core, each chain running its targets one after the other.
lanes=$(nproc)
pids=()
for ((lane = 0; lane < lanes && lane < ${#targets[@]}; lane++)); do
  (
    for ((i = lane; i < ${#targets[@]}; i += lanes)); do run "${targets[$i]}" || exit 1; done
  ) &
  pids+=($!)
done
failed=0
for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
exit "$failed"
