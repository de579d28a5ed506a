// What one "DisabledMissions" entry costs a passed-on mission start in this build, on the
// platform it is built for: the Windows DLL runs under Wine with this program, for which there
// is no Google Benchmark, and the Linux build runs it for a figure taken the same way. For each
// script (ASCII, Cyrillic), in nanoseconds per entry:
//   start    a start through the hook that the plugin passes on, less the game's own start;
//   host     the stand-in host's crossings for the entries (HostShare.h);
//   runtime  the case-ignoring search alone (FindSubstring on the entries decoded beforehand),
//            which is the C runtime's towupper and _wcsnicmp on Windows and their emulation in
//            the platform layer on Linux;
//   plugin   what is left of start: the plugin's own work.
// Each figure is the least of several rounds of the thread's CPU time: what other work on the
// machine adds to a round (caches, a shared core) is left out that way too.
//
//   questveto-entry-cost [entries [rounds [starts]]]    defaults: 10000 5 200
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "HostShare.h"
#include "Players.h"
#include "ThreadClock.h"
#include "host-bridge/FString.h"

namespace {

struct Runs {
  int Entries;
  int Rounds;
  int Starts;  // calls per round of each measured thing
};

struct PerEntry {
  double Start = std::numeric_limits<double>::max();
  double Host = std::numeric_limits<double>::max();
  double Runtime = std::numeric_limits<double>::max();
};

// Mean CPU nanoseconds of one `call`, run `calls` times.
template <typename Call>
double NanosPerCall(int calls, Call&& call) {
  const double start = ThreadNanos();
  for (int i = 0; i < calls; ++i) call();
  return (ThreadNanos() - start) / calls;
}

// The least per-entry figures over the rounds; exits with a message when the plugin does not
// pass the start on.
PerEntry Measure(Script script, const Runs& runs) {
  const Workload work = MakeWorkload(script, runs.Entries, false);
  BenchServer server;
  const Stage stage = LoadPluginOnStage(server, work);
  StandIn::World& world = server.World();
  UClass* mission = stage.Mission.Class();
  APrimalCharacter* character = stage.Character.Object();
  AMissionDispatcher* dispatcher = world.Dispatcher();
  const StartMissionFunction game = GameOwnStart();

  const FString name = FString::FromUtf8(work.MissionName);
  std::vector<FString> decoded;
  for (const std::string& entry : work.Entries) decoded.push_back(FString::FromUtf8(entry));

  const uintptr_t gameResult = world.LastGameResult();
  if (world.StartMission(mission, character, 0) == 0 || world.LastGameResult() == gameResult) {
    std::fprintf(stderr, "questveto-entry-cost: the plugin did not pass the start on\n");
    std::exit(1);
  }
  PerEntry least;
  int found = 0;  // used, so that no search can be left out
  const double entries = runs.Entries;
  for (int round = 0; round < runs.Rounds; ++round) {
    const double gameNs =
        NanosPerCall(runs.Starts, [&] { game(dispatcher, mission, character, 0); });
    const double startNs =
        NanosPerCall(runs.Starts, [&] { world.StartMission(mission, character, 0); });
    const double hostNs = NanosPerCall(runs.Starts, [&] { HostCrossings(work.Entries); });
    const double runtimeNs = NanosPerCall(runs.Starts, [&] {
      for (const FString& entry : decoded) found += FindSubstring(name, entry.Text(), 1, 0, -1);
    });
    least.Start = std::min(least.Start, (startNs - gameNs) / entries);
    least.Host = std::min(least.Host, hostNs / entries);
    least.Runtime = std::min(least.Runtime, runtimeNs / entries);
  }
  if (found != -runs.Entries * runs.Starts * runs.Rounds) {
    std::fprintf(stderr, "questveto-entry-cost: an entry was found in the mission's name\n");
    std::exit(1);
  }
  return least;
}

// The positive whole number given as argument `index` (`what`), or `fallback` when there is none;
// exits naming the argument when it is not one.
int Argument(int argc, char** argv, int index, const char* what, int fallback) {
  if (argc <= index) return fallback;
  char* end = nullptr;
  const long value = std::strtol(argv[index], &end, 10);
  if (end == argv[index] || *end != '\0' || value < 1 || value > std::numeric_limits<int>::max()) {
    std::fprintf(stderr, "questveto-entry-cost: %s must be a positive whole number, not \"%s\"\n",
                 what, argv[index]);
    std::exit(2);
  }
  return static_cast<int>(value);
}

}  // namespace

int main(int argc, char** argv) {
  const Runs runs{Argument(argc, argv, 1, "entries", 10000), Argument(argc, argv, 2, "rounds", 5),
                  Argument(argc, argv, 3, "starts", 200)};
  std::printf("ns per entry, %d entries, least of %d rounds of %d starts\n", runs.Entries,
              runs.Rounds, runs.Starts);
  std::printf("%-9s %8s %8s %8s %8s\n", "script", "start", "host", "runtime", "plugin");
  for (const Script script : {Script::Ascii, Script::NonAscii}) {
    const PerEntry cost = Measure(script, runs);
    std::printf("%-9s %8.1f %8.1f %8.1f %8.1f\n", script == Script::Ascii ? "ascii" : "cyrillic",
                cost.Start, cost.Host, cost.Runtime, cost.Start - cost.Host - cost.Runtime);
  }
  return 0;
}
