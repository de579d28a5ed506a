#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each, starting from its seed corpus in
# fuzz/corpus/<target>/ (and with the dictionary fuzz/<target>.dict where there is one), then
# prints the executions reached. Targets can be named as arguments; by default all run, as many
# at once as there are cores.
#
#   scripts/fuzz.sh [target...]         sanitized (ASan, UBSan; preset "fuzz", build/fuzz)
#   scripts/fuzz.sh --deep [target...]  for long runs: coverage feedback only (preset
#       "fuzz-deep", build/fuzz-deep), several times faster; then every input the run kept is
#       replayed in the sanitized build, and seeds and kept inputs are minimised with libFuzzer's
#       -merge=1 into build/fuzz-deep/minimized/<target>/.
#   --save-seeds (with --deep): the minimised corpus then replaces fuzz/corpus/<target>/.
#
# Each target runs for FUZZ_SECONDS seconds (default 60), or until FUZZ_RUNS executions when that
# is set and comes first. A finding stops the run; its input is left in <build>/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."

deep=0
save_seeds=0
targets=()
for argument in "$@"; do
  case $argument in
    --deep) deep=1 ;;
    --save-seeds) save_seeds=1 ;;
    -*) echo "fuzz: unknown option $argument" >&2; exit 2 ;;
    *) targets+=("$argument") ;;
  esac
done
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_config fuzz_config_check fuzz_find_substring fuzz_utf8 fuzz_rcon_packet fuzz_server_list)
if [ "$save_seeds" = 1 ] && [ "$deep" = 0 ]; then
  echo "fuzz: --save-seeds needs --deep" >&2
  exit 2
fi
seconds=${FUZZ_SECONDS:-60}
runs=${FUZZ_RUNS:-}

scripts/setup.sh
build() {  # build <preset>: the targets in build/<preset>
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1" --target "${targets[@]}"
}
build fuzz
preset=fuzz
if [ "$deep" = 1 ]; then
  build fuzz-deep
  preset=fuzz-deep
fi
out=build/$preset
findings=$out/findings
mkdir -p "$findings"

options_for() {  # options_for <target>: the options every run of the target takes
  local target=$1
  [ -f "fuzz/$target.dict" ] && echo "-dict=fuzz/$target.dict"
  return 0
}

failed_with() {  # failed_with <log> <what>: shows the end of the log, says what failed
  tail -n 60 "$1"
  echo "fuzz: $2; input in $findings, log in $1"
  return 1
}

# Makes the minimised corpus the target's seeds. The hand-written seeds, named for what they hold,
# stay; the inputs named by their SHA-1 (as libFuzzer names what it keeps) are replaced.
save_seeds() {  # save_seeds <target> <minimised corpus>
  local seeds=fuzz/corpus/$1 minimized=$2
  find "$seeds" -type f -regextype posix-extended -regex '.*/[0-9a-f]{40}' -delete
  local named
  named=$(find "$seeds" -type f -exec sha1sum {} + | cut -d' ' -f1)
  local input
  for input in "$minimized"/*; do
    grep -qx "$(basename "$input")" <<<"$named" || cp "$input" "$seeds/"
  done
  echo "fuzz: $1: $seeds holds its hand-written seeds and the minimised corpus"
}

# Replays every input of the grown corpus in the sanitized build, then minimises seeds and grown
# corpus together.
replay_and_minimise() {  # replay_and_minimise <target> <grown corpus>
  local target=$1 corpus=$2
  local extra
  mapfile -t extra < <(options_for "$target")
  local log=$out/$target.replay.log
  if ! "build/fuzz/fuzz/$target" -runs=0 "${extra[@]}" -artifact_prefix="$findings/$target-" \
    "$corpus" "fuzz/corpus/$target" >"$log" 2>&1; then
    failed_with "$log" "$target: a kept input fails in the sanitized build"
    return 1
  fi
  local minimized=$out/minimized/$target
  rm -rf "$minimized"
  mkdir -p "$minimized"
  log=$out/$target.merge.log
  if ! "$out/fuzz/$target" -merge=1 "${extra[@]}" -artifact_prefix="$findings/$target-" \
    "$minimized" "fuzz/corpus/$target" "$corpus" >"$log" 2>&1; then
    failed_with "$log" "$target: minimising the corpus failed"
    return 1
  fi
  local kept
  kept=$(find "$minimized" -type f | wc -l)
  echo "fuzz: $target: every kept input passes sanitized; minimised corpus: $kept inputs in $minimized"
  if [ "$save_seeds" = 1 ]; then save_seeds "$target" "$minimized"; fi
}

run() {  # run <target>: the target for $seconds (or $runs), then its executions, or its finding
  local target=$1
  # New inputs go to a scratch corpus; the committed seeds are only read.
  local corpus=$out/corpus/$target
  mkdir -p "$corpus"
  local options=(-max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$findings/$target-")
  [ -n "$runs" ] && options+=(-runs="$runs")
  mapfile -t -O ${#options[@]} options < <(options_for "$target")
  local log=$out/$target.log
  if ! "$out/fuzz/$target" "${options[@]}" "$corpus" "fuzz/corpus/$target" >"$log" 2>&1; then
    failed_with "$log" "$target found a fault"
    return 1
  fi
  local executions rate time
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  time=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log")
  echo "fuzz: $target ($preset): $executions executions in ${time:-$seconds} s ($rate/s), no finding"
  if [ "$deep" = 1 ]; then replay_and_minimise "$target" "$corpus"; fi
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
