// One million mission starts must leave the game heap's live blocks and the process's resident
// memory where they were. The stand-in game keeps a record of every start that reaches it and
// of everything a player is shown, so here the rest of the game is a detour that records nothing,
// and the refused starts have no character (no notification, no mission data): what stays
// behind is then the plugin's and the host's alone.
#include <benchmark/benchmark.h>

#include "Measure.h"
#include "Players.h"
#include "host-bridge/HostApi.h"
#include "standin/HeapAndFaults.h"
#include "standin/World.h"

namespace {

constexpr int64_t kStarts = 1000000;

uintptr_t RestOfGame(AMissionDispatcher*, UClass*, APrimalCharacter*, uintptr_t) {
  return 1;
}

void MillionStarts(benchmark::State& state) {
  const Workload work = MakeWorkload(Script::Ascii, 20, true);
  BenchServer server;
  void* gameEntry = nullptr;
  if (!HostApi::GetHooks().InstallHook("AMissionDispatcher.StartMission",
                                       reinterpret_cast<void*>(&RestOfGame), &gameEntry)) {
    state.SkipWithError("cannot hook the game's start");
    return;
  }
  const Stage stage = LoadPluginOnStage(server, work);
  StandIn::World& world = server.World();
  UClass* refused = stage.Mission.Class();
  UClass* passed = world.Populate({{{"The Great Hunt of the Storm Wyrm", 1, "StormWyrm"}}, {}})
                       .Missions()[0]
                       .Class->Class();
  APrimalCharacter* character = stage.Character.Object();
  const auto startPair = [&] {
    benchmark::DoNotOptimize(world.StartMission(passed, character, 0));
    benchmark::DoNotOptimize(world.StartMission(refused, nullptr, 0));
  };
  if (world.StartMission(passed, character, 0) != 1 || world.StartMission(refused, nullptr, 0)) {
    state.SkipWithError("the starts are not passed on and refused as expected");
    return;
  }
  for (int i = 0; i < 10000; ++i) startPair();  // first-use costs of the allocators

  const std::size_t liveBefore = StandIn::GameHeap::LiveBlocks();
  const std::size_t residentBefore = ResidentBytes();
  const HeapWindow heap;
  for (auto _ : state) {
    for (int64_t i = 0; i < kStarts / 2; ++i) startPair();
  }
  heap.Report(state, kStarts);
  state.counters["live_blocks"] =
      static_cast<double>(StandIn::GameHeap::LiveBlocks()) - static_cast<double>(liveBefore);
  state.counters["rss_kib"] =
      (static_cast<double>(ResidentBytes()) - static_cast<double>(residentBefore)) / 1024.0;
}

}  // namespace

BENCHMARK(MillionStarts)->Iterations(1)->Repetitions(1)->Unit(benchmark::kMillisecond);
