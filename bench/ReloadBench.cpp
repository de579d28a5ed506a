// Reading config.json: the parse that ReadConfig does at load and at every reload, and
// "qv.reload" from the server console end to end.
#include <benchmark/benchmark.h>

#include "BenchServer.h"
#include "Measure.h"
#include "Workload.h"
#include "rules/ConfigFile.h"
#include "standin/Registries.h"

namespace {

void ReadConfig(benchmark::State& state) {
  const auto count = static_cast<std::size_t>(state.range(0));
  BenchServer server;
  server.WriteConfig(
      ConfigText(MakeWorkload(Script::Ascii, static_cast<int>(count), true).Entries));
  const std::string path = server.ConfigPath();
  if (ParseConfigFile(path)["DisabledMissions"].size() != count) {
    state.SkipWithError("config.json does not hold the list");
    return;
  }
  TimedLoop(state, [&] { benchmark::DoNotOptimize(ParseConfigFile(path)); });
}

// A reload of state.range(0) entries; with state.range(1) 1, the file asks for the summary of
// each read (the entries in force before and after compared).
void Reload(benchmark::State& state) {
  const Workload work = MakeWorkload(Script::Ascii, static_cast<int>(state.range(0)), true);
  BenchServer server;
  server.WriteConfig("{}");
  server.LoadPlugin();
  const FString name = FString::FromUtf8(work.MissionName);
  server.WriteConfig(ConfigText(work.Entries, state.range(1) != 0));
  // The name is switched off only once the reload has read the new list.
  if (!StandIn::Commands::RunConsole("qv.reload", nullptr) || !server.Query()(name)) {
    state.SkipWithError("qv.reload did not bring the new list into force");
    return;
  }

  const HeapWindow heap;
  TimedLoop(state, [] { StandIn::Commands::RunConsole("qv.reload", nullptr); });
  heap.Report(state, state.iterations());
}

}  // namespace

BENCHMARK(ReadConfig)->Arg(10)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(Reload)
    ->Args({10, 0})
    ->Args({10000, 0})
    ->Args({10000, 1})
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Unit(benchmark::kMillisecond);
