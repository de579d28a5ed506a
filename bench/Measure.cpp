#include "Measure.h"

#include <unistd.h>

#include <fstream>
#include <string>

#include "standin/HeapAndFaults.h"

HeapWindow::HeapWindow()
    : allocations_(StandIn::GameHeap::TotalAllocations()),
      releases_(StandIn::GameHeap::TotalReleases()) {}

void HeapWindow::Report(benchmark::State& state, int64_t calls) const {
  const uint64_t allocations = StandIn::GameHeap::TotalAllocations() - allocations_;
  const uint64_t releases = StandIn::GameHeap::TotalReleases() - releases_;
  const double perCall = calls > 0 ? 1.0 / static_cast<double>(calls) : 0.0;
  state.counters["allocs"] = static_cast<double>(allocations) * perCall;
  state.counters["frees"] = static_cast<double>(releases) * perCall;
  if (allocations != releases) {
    state.SkipWithError(("game heap unbalanced: " + std::to_string(allocations) + " allocations, " +
                         std::to_string(releases) + " releases")
                            .c_str());
  }
}

std::size_t ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  std::size_t sizePages = 0;
  std::size_t residentPages = 0;
  statm >> sizePages >> residentPages;
  return residentPages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}
