// Every scenario with a failure injected at each fallible crossing in turn (a host call throwing
// std::bad_alloc at odd crossings and a type outside std::exception at even ones, so that every
// guarded stretch of two crossings or more meets both; the game heap answering null), once and
// from there on, until the scenario runs through without reaching the fault. After each run:
// nothing thrown reached the game, the host's dispatch or the loader; the game heap got back every
// block a fault does not excuse; the configuration in force is the old or the new one; a player's
// mission data is written in order and replicated only when complete; a refused start never also
// reaches the game's own start; a reload is answered once at most, and a reload that read its file
// is answered or its failure logged.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "plugin/FaultHarness.h"
#include "plugin/Scenarios.h"
#include "standin/Journal.h"
#include "standin/Registries.h"
#include "support/Shown.h"

namespace {

const char* const kCompletionEntries[] = {"Complete", "Version", "CompleteUtcTime"};

// The one fault that may cost game heap blocks: a destructor gives its buffer back through the
// game's free, and when even the lookup of that free fails it keeps the block rather than throw
// (FStringTest, DestroyingWhenTheFreeCannotBeLookedUpKeepsTheBlockAndThrowsNothing).
bool FreeLookupFailed(const FaultRun& run) {
  return std::find(run.faults.begin(), run.faults.end(),
                   R"(fault: GetAddress("FMemory.Free") fails)") != run.faults.end();
}

using FaultTest = ServerTest;

// The mission switched off now, as the exported query answers.
std::string Off(ServerTest& test) {
  const bool hunt = test.Disabled("Hunt");
  const bool ride = test.Disabled("Ride");
  if (hunt && ride) return "Hunt and Ride";
  return hunt ? "Hunt" : ride ? "Ride" : "";
}

void ExpectSoundMissionData(const JournalEntries& journal) {
  const JournalEntries writes = Matching(journal, "APrimalBuff_MissionData.SetMissionData_*");
  ASSERT_LE(writes.size(), 3u);
  for (std::size_t i = 0; i < writes.size(); ++i) {
    EXPECT_TRUE(EntryMatches(std::string("*, \"") + kCompletionEntries[i] + "\", *", writes[i]))
        << "mission data written out of order: " << writes[i];
  }
  // A write or the replication whose lookup fails leaves the entries before it: the game has no
  // way to take an entry back. What is written is in order, and replicated once complete at most.
  const std::size_t replications = Matching(journal, "AActor.ForceReplicateNow(*").size();
  EXPECT_LE(replications, writes.size() == 3 ? 1u : 0u)
      << "replicated " << replications << " times after " << writes.size() << " writes";
  if (!Matching(journal, kGameStart).empty()) {
    EXPECT_TRUE(writes.empty()) << "a start that reached the game was also recorded completed";
  }
}

// Whoever gave "qv.reload" gets one answer at most. A reload that read its file is answered for
// certain when the host fails once (a reply that fails after a successful read is answered as a
// failed read); a host that keeps failing may fail that answer too, and then the log says that
// the reload failed unexpectedly.
void ExpectOneAnswer(const Scenario& scenario, const FaultRun& run) {
  const std::size_t answers =
      Matching(run.journal, ChatTo("Bob")).size() + Matching(run.journal, kAnyRconReply).size();
  EXPECT_LE(answers, 1u);
  if (!scenario.ReloadReadsFile || answers == 1) return;
  EXPECT_EQ(run.lasting, Lasting::FromThereOn) << "the reload went unanswered";
  EXPECT_FALSE(
      Matching(run.journal, "log [QuestVeto][critical] qv.reload failed unexpectedly*").empty())
      << "the reload went unanswered, and the log does not say so";
}

// What an unload meets once only. A host whose removals keep failing, the second try included,
// keeps the plugin's hook and handlers after the library is gone, and goes down the next time it
// calls or drops one: the plugin does not outlast that yet.
const std::vector<Lasting> kUnloadLastings = {Lasting::Once};

// A scenario that unloads the plugin (nothing to ask afterwards) meets each fault once only.
std::vector<Lasting> LastingsFor(const Scenario& scenario) {
  if (scenario.OffAfter == nullptr) return kUnloadLastings;
  return {Lasting::Once, Lasting::FromThereOn};
}

TEST_F(FaultTest, EveryCrossingOfEveryScenarioMayFail) {
  uint64_t allocationFaults = 0;
  uint64_t hostCallFaults = 0;
  for (const Scenario& scenario : Scenarios()) {
    SCOPED_TRACE(scenario.Name);
    const std::vector<std::string> faults = FailEachCrossingInTurn(
        *this, [&] { Arrange(*this, scenario.Config, scenario.Loaded); },
        [&] { scenario.Act(*this); },
        [&](const FaultRun& run) {
          EXPECT_EQ(run.escaped, "") << "a failure escaped to the game, the host or the loader";
          ExpectSoundMissionData(run.journal);
          ExpectOneAnswer(scenario, run);
          if (scenario.OffAfter != nullptr) {
            const std::string off = Off(*this);
            EXPECT_TRUE(off == scenario.OffBefore || off == scenario.OffAfter)
                << "switched off: \"" << off << "\"";
          }
        },
        FreeLookupFailed, LastingsFor(scenario));
    if (HasFailure()) return;
    for (const std::string& fault : faults) {
      ++(fault == "fault: the allocation fails" ? allocationFaults : hostCallFaults);
    }
    std::printf("  %s: %zu faults\n", scenario.Name.c_str(), faults.size());
  }
  EXPECT_GT(allocationFaults, 0u) << "no game heap allocation was made to fail";
  EXPECT_GT(hostCallFaults, 0u) << "no host call was made to fail";
}

// Each removal of the unload, and every crossing inside it, failing once: the removal tried once
// more takes what the plugin handed the host out of its registries all the same.
TEST_F(FaultTest, UnloadWithAFailedRemovalLeavesNothingRegistered) {
  FailEachCrossingInTurn(
      *this, [&] { Arrange(*this, kHuntOff, true); }, [&] { UnloadPlugin(); },
      [](const FaultRun& /*run*/) {
        EXPECT_TRUE(StandIn::Hooks::Detours("AMissionDispatcher.StartMission").empty());
        EXPECT_TRUE(StandIn::Commands::Names().empty());
      },
      FreeLookupFailed, kUnloadLastings);
}

}  // namespace
