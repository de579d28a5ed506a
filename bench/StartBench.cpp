// Whole mission starts as the game makes them, through the hook: passed on to the game and
// refused, against the game's own start function called directly.
#include <benchmark/benchmark.h>

#include "HostShare.h"
#include "Measure.h"
#include "Players.h"

namespace {

// One start made before timing: refused (0, the game not called) or passed on (the game called
// once) as `refused` says; otherwise the run is marked as an error and false is answered.
bool StartGoesAsExpected(benchmark::State& state, StandIn::World& world, UClass* mission,
                         APrimalCharacter* character, bool refused) {
  const uintptr_t gameResult = world.LastGameResult();
  const uintptr_t result = world.StartMission(mission, character, 0);
  const bool reachedGame = world.LastGameResult() != gameResult;
  if (refused ? (result == 0 && !reachedGame) : (result != 0 && reachedGame)) return true;
  state.SkipWithError(refused ? "the start was not refused" : "the start was not passed on");
  return false;
}

// The game's own start function called directly, with no plugin loaded.
void GameStart(benchmark::State& state) {
  BenchServer server;
  const Stage stage = SetStage(server, MakeWorkload(Script::Ascii, 1, false));
  AMissionDispatcher* dispatcher = server.World().Dispatcher();
  const StartMissionFunction game = GameOwnStart();
  const HeapWindow heap;
  TimedLoop(state, [&] {
    benchmark::DoNotOptimize(game(dispatcher, stage.Mission.Class(), stage.Character.Object(), 0));
  });
  heap.Report(state, state.iterations());
}

// Loads the plugin with state.range(0) entries, the last one matching the mission when `refused`,
// makes one start to see it go the expected way, then hands the world, mission, character and
// entries to `timed`.
template <typename Timed>
void WithLoadedPlugin(benchmark::State& state, bool refused, Timed&& timed) {
  const Workload work = MakeWorkload(Script::Ascii, static_cast<int>(state.range(0)), refused);
  BenchServer server;
  const Stage stage = LoadPluginOnStage(server, work);
  StandIn::World& world = server.World();
  UClass* mission = stage.Mission.Class();
  APrimalCharacter* character = stage.Character.Object();
  if (StartGoesAsExpected(state, world, mission, character, refused)) {
    timed(world, mission, character, work.Entries);
  }
}

// A start the plugin passes on: the name matches none of the entries. "overhead_us" is what the
// plugin adds to the game's own function, timed side by side for as many calls; of it, "host_us"
// is the stand-in host's share of the filter's crossings and "plugin_us" the rest.
void PassedOnStart(benchmark::State& state) {
  WithLoadedPlugin(
      state, false,
      [&](StandIn::World& world, UClass* mission, APrimalCharacter* character,
          const std::vector<std::string>& entries) {
        AMissionDispatcher* dispatcher = world.Dispatcher();
        const StartMissionFunction game = GameOwnStart();
        const double gameNs = NanosPerCall(state.max_iterations, [&] {
          benchmark::DoNotOptimize(game(dispatcher, mission, character, 0));
        });
        const HeapWindow heap;
        const double startNs = TimedLoop(
            state, [&] { benchmark::DoNotOptimize(world.StartMission(mission, character, 0)); });
        heap.Report(state, state.iterations());
        const double hostNs = NanosPerCall(state.iterations(), [&] { HostCrossings(entries); });
        state.counters["overhead_us"] = (startNs - gameNs) / 1000.0;
        state.counters["host_us"] = hostNs / 1000.0;
        state.counters["plugin_us"] = (startNs - gameNs - hostNs) / 1000.0;
      });
}

// A start the plugin refuses (the last entry matches): the notification and the mission data
// are written, the game's function is not called.
void RefusedStart(benchmark::State& state) {
  WithLoadedPlugin(state, true,
                   [&](StandIn::World& world, UClass* mission, APrimalCharacter* character,
                       const std::vector<std::string>& /*entries*/) {
                     const HeapWindow heap;
                     TimedLoop(state, [&] {
                       benchmark::DoNotOptimize(world.StartMission(mission, character, 0));
                     });
                     heap.Report(state, state.iterations());
                   });
}

}  // namespace

BENCHMARK(GameStart)->Unit(benchmark::kMicrosecond);
BENCHMARK(PassedOnStart)
    ->Arg(1)
    ->Arg(20)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(RefusedStart)->Arg(20)->Arg(10000)->Unit(benchmark::kMicrosecond);
