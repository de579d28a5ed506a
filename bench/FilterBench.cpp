// QuestVeto::IsMissionDisabled on a 32-character name against lists of 1 to 10,000 entries, with
// the reference matcher timed side by side for the same number of calls, and the stand-in host's
// share of a call ("host_us") apart from the plugin's own ("plugin_us").
#include <benchmark/benchmark.h>

#include "BenchServer.h"
#include "HostShare.h"
#include "Measure.h"
#include "ReferenceMatcher.h"
#include "Workload.h"

namespace {

void Filter(benchmark::State& state, Script script, bool matchLast) {
  const Workload work = MakeWorkload(script, static_cast<int>(state.range(0)), matchLast);
  BenchServer server;
  server.WriteConfig(ConfigText(work.Entries));
  server.LoadPlugin();
  const BenchServer::NameQuery query = server.Query();
  const FString name = FString::FromUtf8(work.MissionName);
  const ReferenceMatcher reference(work.Entries);
  if (name.Length() != 32 || query(name) != work.Matches ||
      reference.Matches(name) != work.Matches) {
    state.SkipWithError("the filter or the reference gives the wrong answer for the workload");
    return;
  }

  const double referenceNs = NanosPerCall(
      state.max_iterations, [&] { benchmark::DoNotOptimize(reference.Matches(name)); });
  const HeapWindow heap;
  const double filterNs = TimedLoop(state, [&] { benchmark::DoNotOptimize(query(name)); });
  heap.Report(state, state.iterations());
  const double hostNs = NanosPerCall(state.iterations(), [&] { HostCrossings(work.Entries); });
  state.counters["x_ref"] = filterNs / referenceNs;
  state.counters["host_us"] = hostNs / 1000.0;
  state.counters["plugin_us"] = (filterNs - hostNs) / 1000.0;
}

void Sizes(benchmark::internal::Benchmark* bench) {
  bench->RangeMultiplier(10)->Range(1, 10000)->Unit(benchmark::kMicrosecond);
}

}  // namespace

BENCHMARK_CAPTURE(Filter, ascii_match_last, Script::Ascii, true)->Apply(Sizes);
BENCHMARK_CAPTURE(Filter, ascii_no_match, Script::Ascii, false)->Apply(Sizes);
BENCHMARK_CAPTURE(Filter, nonascii_match_last, Script::NonAscii, true)->Apply(Sizes);
BENCHMARK_CAPTURE(Filter, nonascii_no_match, Script::NonAscii, false)->Apply(Sizes);
