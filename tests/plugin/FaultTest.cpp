// Every scenario with a failure injected at each fallible crossing in turn (a host call throwing
// std::bad_alloc at odd crossings and a type outside std::exception at even ones, so that every
// guarded stretch of two crossings or more meets both; the game heap answering null), until the
// scenario runs through without reaching the fault. After each run: nothing thrown
// reached the game, the host's dispatch or the loader; the game heap got back every block; the
// configuration in force is the old or the new one; a player's mission data is written in order
// and replicated only when complete; a refused start never also reaches the game's own start.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "plugin/FaultHarness.h"
#include "plugin/Scenarios.h"
#include "standin/Journal.h"
#include "support/Shown.h"

namespace {

const char* const kCompletionEntries[] = {"Complete", "Version", "CompleteUtcTime"};

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

// Whoever gave "qv.reload" gets one answer at most, and one for certain when the file could be
// read: a reply that fails after a successful read is answered as a failed read.
void ExpectOneAnswer(const Scenario& scenario, const JournalEntries& journal) {
  const std::size_t answers =
      Matching(journal, ChatTo("Bob")).size() + Matching(journal, kAnyRconReply).size();
  const bool readable = scenario.Name.size() >= 6 &&
                        scenario.Name.compare(scenario.Name.size() - 6, 6, ", read") == 0;
  EXPECT_LE(answers, 1u);
  if (readable) {
    EXPECT_EQ(answers, 1u) << "the reload went unanswered";
  }
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
          ExpectOneAnswer(scenario, run.journal);
          if (scenario.OffAfter != nullptr) {
            const std::string off = Off(*this);
            EXPECT_TRUE(off == scenario.OffBefore || off == scenario.OffAfter)
                << "switched off: \"" << off << "\"";
          }
        });
    if (HasFailure()) return;
    for (const std::string& fault : faults) {
      ++(fault == "fault: the allocation fails" ? allocationFaults : hostCallFaults);
    }
    std::printf("  %s: %zu faults\n", scenario.Name.c_str(), faults.size());
  }
  EXPECT_GT(allocationFaults, 0u) << "no game heap allocation was made to fail";
  EXPECT_GT(hostCallFaults, 0u) << "no host call was made to fail";
}

}  // namespace
