// What another plugin pays for asking QuestVeto at the moment of need rather than caching the
// answer: QuestVetoClient::IsMissionDisabled, which finds the exported query in the loaded library
// at every call, on a 32-character name against lists of 1 to 1,000 entries. "lookup_us" is its
// cost over the same query called through an address resolved once.
#include <benchmark/benchmark.h>

#include <optional>

#include "BenchServer.h"
#include "Measure.h"
#include "Workload.h"
#include "plugin/QuestVetoClient.h"

namespace {

void ClientQuery(benchmark::State& state) {
  const Workload work = MakeWorkload(Script::Ascii, static_cast<int>(state.range(0)), true);
  BenchServer server;
  server.WriteConfig(ConfigText(work.Entries));
  server.LoadPlugin();
  const BenchServer::NameQuery query = server.Query();
  const FString name = FString::FromUtf8(work.MissionName);
  if (QuestVetoClient::IsMissionDisabled(name) != std::optional<bool>(work.Matches)) {
    state.SkipWithError("the client header does not reach the loaded plugin's query");
    return;
  }

  const double directNs =
      NanosPerCall(state.max_iterations, [&] { benchmark::DoNotOptimize(query(name)); });
  const double clientNs =
      TimedLoop(state, [&] { benchmark::DoNotOptimize(QuestVetoClient::IsMissionDisabled(name)); });
  state.counters["lookup_us"] = (clientNs - directNs) / 1000.0;
}

}  // namespace

BENCHMARK(ClientQuery)->RangeMultiplier(10)->Range(1, 1000)->Unit(benchmark::kMicrosecond);
