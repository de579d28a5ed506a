// Every scenario with a failure injected at each fallible crossing in turn (a host call throwing
// std::bad_alloc at odd crossings and a type outside std::exception at even ones, so that every
// guarded stretch of two crossings or more meets both; the game heap answering null), until the
// scenario runs through without reaching the fault. After each run: nothing thrown
// reached the game, the host's dispatch or the loader; the game heap got back every block; the
// configuration in force is the old or the new one; a player's mission data is written in order
// and replicated only when complete; a refused start never also reaches the game's own start.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "plugin/Scenarios.h"
#include "standin/Journal.h"
#include "standin/StandIn.h"
#include "support/Shown.h"

namespace {

using StandIn::Faults::HostFailure;

const char* const kCompletionEntries[] = {"Complete", "Version", "CompleteUtcTime"};

class FaultTest : public ScenarioTest {
 protected:
  void TearDown() override {
    StandIn::Faults::Disarm();
    StandIn::Journal::Stop();
    ScenarioTest::TearDown();
  }

  // The scenario's action under the armed fault; what it let escape, or "".
  static std::string Escaped(const Scenario& scenario, ScenarioTest& test) {
    try {
      scenario.Act(test);
    } catch (const std::exception& error) {
      return std::string("std::exception: ") + error.what();
    } catch (const StandIn::Faults::ForeignFailure& failure) {
      return std::string("foreign failure of ") + failure.What;
    } catch (...) {
      return "an exception of unknown type";
    }
    return {};
  }

  // The mission switched off now, as the exported query answers.
  std::string Off() {
    const bool hunt = IsDisabled("Hunt");
    const bool ride = IsDisabled("Ride");
    if (hunt && ride) return "Hunt and Ride";
    return hunt ? "Hunt" : ride ? "Ride" : "";
  }

  static void ExpectSoundMissionData(const JournalEntries& journal) {
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
  static void ExpectOneAnswer(const Scenario& scenario, const JournalEntries& journal) {
    const std::size_t answers =
        Matching(journal, ChatTo("Bob")).size() + Matching(journal, kAnyRconReply).size();
    const bool readable = scenario.Name.size() >= 6 &&
                          scenario.Name.compare(scenario.Name.size() - 6, 6, ", read") == 0;
    EXPECT_LE(answers, 1u);
    if (readable) {
      EXPECT_EQ(answers, 1u) << "the reload went unanswered";
    }
  }
};

TEST_F(FaultTest, EveryCrossingOfEveryScenarioMayFail) {
  std::map<std::string, uint64_t> faults;
  // The faults struck by what failed: "fault: the allocation fails" or a host call's.
  uint64_t allocationFaults = 0;
  uint64_t hostCallFaults = 0;
  for (const Scenario& scenario : Scenarios()) {
    for (uint64_t n = 1;; ++n) {
      const HostFailure how = n % 2 == 1 ? HostFailure::BadAlloc : HostFailure::Foreign;
      SCOPED_TRACE(scenario.Name +
                   (how == HostFailure::BadAlloc ? ", std::bad_alloc" : ", foreign") +
                   " at crossing " + std::to_string(n));
      TearDown();
      const std::size_t liveBlocks = StandIn::GameHeap::LiveBlocks();
      const std::vector<StandIn::GameHeap::Block> blocksBefore = StandIn::GameHeap::LiveBlockList();
      SetUp();
      Arrange(scenario);
      StandIn::Journal::Start();  // shown when a check fails
      StandIn::Faults::FailAt(n, how);
      const std::string escaped = Escaped(scenario, *this);
      const bool struck = StandIn::Faults::Struck();
      StandIn::Faults::Disarm();
      StandIn::Journal::Stop();
      const std::vector<std::string> journal = StandIn::Journal::Entries();
      const std::string fault = journal.empty() ? "" : [&] {
        for (const std::string& entry : journal) {
          if (entry.rfind("fault: ", 0) == 0) return entry;
        }
        return std::string();
      }();
      SCOPED_TRACE(fault);

      EXPECT_EQ(escaped, "") << "a failure escaped to the game, the host or the loader";
      ExpectSoundMissionData(journal);
      ExpectOneAnswer(scenario, journal);
      if (scenario.OffAfter != nullptr) {
        const std::string off = Off();
        EXPECT_TRUE(off == scenario.OffBefore || off == scenario.OffAfter)
            << "switched off: \"" << off << "\"";
      }
      TearDown();
      if (fault == kFreeLookupFails) {
        // The one block a destructor could not give back stays with the game; the test gives
        // it back so the ledger can go on counting.
        ReleaseBlocksLeftSince(blocksBefore);
      }
      EXPECT_EQ(StandIn::GameHeap::LiveBlocks(), liveBlocks) << "game heap blocks not given back";
      if (HasFailure()) {
        std::string listing;
        for (const std::string& entry : journal) listing += "\n  " + entry;
        FAIL() << "journal of the failing run:" << listing;
      }
      if (!struck) break;
      ++faults[scenario.Name];
      ++(fault == "fault: the allocation fails" ? allocationFaults : hostCallFaults);
    }
  }
  EXPECT_GT(allocationFaults, 0u) << "no game heap allocation was made to fail";
  EXPECT_GT(hostCallFaults, 0u) << "no host call was made to fail";
  for (const auto& [name, count] : faults) {
    std::printf("  %s: %llu faults\n", name.c_str(), static_cast<unsigned long long>(count));
  }
}

}  // namespace
