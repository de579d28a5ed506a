// Measuring aids shared by the benchmarks: side-by-side timing of a comparison call, the game
// heap ledger's counts over a stretch of a run, and the process's resident memory. Times are
// taken on this thread's CPU clock, so that other work on the machine does not count in them.
#pragma once

#include <cstddef>
#include <cstdint>

#include <benchmark/benchmark.h>

#include "ThreadClock.h"

// Mean CPU nanoseconds of one `call`, run `calls` times (at least once).
template <typename Call>
double NanosPerCall(int64_t calls, Call&& call) {
  if (calls < 1) calls = 1;
  const double start = ThreadNanos();
  for (int64_t i = 0; i < calls; ++i) call();
  return (ThreadNanos() - start) / static_cast<double>(calls);
}

// Runs the benchmark loop over `call` and answers the mean CPU nanoseconds of one iteration.
template <typename Call>
double TimedLoop(benchmark::State& state, Call&& call) {
  const double start = ThreadNanos();
  for (auto _ : state) call();
  const double elapsed = ThreadNanos() - start;
  return state.iterations() > 0 ? elapsed / static_cast<double>(state.iterations()) : 0.0;
}

// Game heap allocations and releases from construction to Report.
class HeapWindow {
 public:
  HeapWindow();
  // Sets the counters "allocs" and "frees" (per call, over `calls` calls) and fails the run when
  // the window did not give back every block it took.
  void Report(benchmark::State& state, int64_t calls) const;

 private:
  uint64_t allocations_;
  uint64_t releases_;
};

// Resident set size of this process in bytes.
std::size_t ResidentBytes();
