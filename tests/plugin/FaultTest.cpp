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
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "plugin/FaultHarness.h"
#include "plugin/QuestVetoClient.h"
#include "plugin/Scenarios.h"
#include "standin/Journal.h"
#include "standin/Registries.h"
#include "support/OwnExportName.h"
#include "support/Said.h"
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

// A scenario that unloads the plugin (nothing to ask afterwards).
bool Unloads(const Scenario& scenario) {
  return scenario.OffAfter == nullptr;
}

const char* const kKeptLine = "log [QuestVeto][critical] The host kept *";

// After an unload the host still holds a hook or command of the plugin's exactly when the log
// says so.
void ExpectWhatTheHostKeptLogged(const FaultRun& run) {
  const bool held = !StandIn::Hooks::Detours("AMissionDispatcher.StartMission").empty() ||
                    !StandIn::Commands::Names().empty();
  EXPECT_EQ(Matching(run.journal, kKeptLine).size(), held ? 1u : 0u)
      << (held ? "the host kept a hook or command" : "the host kept nothing");
}

TEST_F(FaultTest, EveryCrossingOfEveryScenarioMayFail) {
  uint64_t allocationFaults = 0;
  uint64_t hostCallFaults = 0;
  for (const Scenario& scenario : Scenarios()) {
    SCOPED_TRACE(scenario.Name);
    const std::vector<std::string> faults = FailEachCrossingInTurn(
        *this,
        [&] {
          // A host whose removals keep failing keeps the library loaded for good.
          if (Unloads(scenario)) LoadFreshCopies();
          Arrange(*this, scenario.Config, scenario.Loaded);
        },
        [&] { scenario.Act(*this); },
        [&](const FaultRun& run) {
          EXPECT_EQ(run.escaped, "") << "a failure escaped to the game, the host or the loader";
          ExpectSoundMissionData(run.journal);
          ExpectOneAnswer(scenario, run);
          if (Unloads(scenario)) {
            ExpectWhatTheHostKeptLogged(run);
          } else {
            const std::string off = Off(*this);
            EXPECT_TRUE(off == scenario.OffBefore || off == scenario.OffAfter)
                << "switched off: \"" << off << "\"";
          }
        },
        FreeLookupFailed);
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
      [](const FaultRun& run) {
        EXPECT_TRUE(StandIn::Hooks::Detours("AMissionDispatcher.StartMission").empty());
        EXPECT_TRUE(StandIn::Commands::Names().empty());
        EXPECT_EQ(Matching(run.journal, kKeptLine), JournalEntries{});
      },
      FreeLookupFailed, {Lasting::Once});
}

// A host gone bad at unload, whose removals keep failing, keeps all the plugin placed. What it
// kept stays callable and harmless: a start of a switched-off mission goes on to the game as if
// QuestVeto were not there, each command runs without a word, and the server stops cleanly,
// letting go of them. The log says what was kept and that the library stays loaded.
TEST_F(FaultTest, WhatAHostKeepsAfterAFailedUnloadDoesNothing) {
  LoadFreshCopies();
  Arrange(*this, kHuntOff, true);
  StandIn::Player bob = AddPlayer({"Bob"});
  StandIn::RconConnection& connection = World().AddRconConnection();
  using NameQuery = bool (*)(const FString&);
  const auto query =
      reinterpret_cast<NameQuery>(PluginSymbol(OwnExportName(QuestVetoClient::kByDisplayName)));
  ASSERT_NE(query, nullptr);
  ASSERT_TRUE(query(FString("Hunt")));
  const FaultRun unload =
      RunFailing(1, HostFailure::BadAlloc, Lasting::FromThereOn, [&] { UnloadPlugin(); });
  EXPECT_EQ(unload.escaped, "");
  EXPECT_EQ(Matching(unload.journal, kKeptLine).size(), 1u);
  EXPECT_EQ(Messages("critical").back(),
            "The host kept the mission start hook, the console command qv.reload, the RCON command "
            "qv.reload, the console command qv.status, the RCON command qv.status after the "
            "unload; QuestVeto's library stays loaded until the server stops, and what the host "
            "kept does nothing (mission starts go on to the game)");
  ASSERT_EQ(StandIn::Hooks::Detours("AMissionDispatcher.StartMission").size(), 1u);
  ASSERT_EQ(StandIn::Commands::Names(), (std::vector<std::string>{"qv.reload", "qv.status"}));
  EXPECT_FALSE(query(FString("Hunt"))) << "another plugin is answered from a configuration gone";

  StandIn::Journal::Start();
  EXPECT_NE(StartMission(Hunt(), bob.Character), 0u) << "the game's start was refused";
  EXPECT_EQ(Recorded<StandIn::Journal::GameStart>().size(), 1u);
  EXPECT_TRUE(Recorded<StandIn::Journal::Notification>().empty());
  EXPECT_TRUE(Recorded<StandIn::Journal::MissionDataWrite>().empty());

  APlayerController* const player = reinterpret_cast<APlayerController*>(bob.Controller->Object());
  const std::vector<std::pair<std::string, std::function<std::string()>>> commands = {
      {"qv.reload on the console", [&] { return StandIn::Commands::Console("qv.reload", player); }},
      {"qv.status on the console", [&] { return StandIn::Commands::Console("qv.status", player); }},
      {"qv.reload over RCON", [&] { return StandIn::Commands::Rcon(connection, 1, "qv.reload"); }},
      {"qv.status over RCON", [&] { return StandIn::Commands::Rcon(connection, 2, "qv.status"); }},
  };
  for (const auto& [command, give] : commands) {
    SCOPED_TRACE(command);
    StandIn::Journal::Start();
    EXPECT_EQ(give(), "") << "the host no longer knows the command";
    EXPECT_TRUE(ChatsTo(*bob.Controller).empty());
    EXPECT_TRUE(Recorded<StandIn::Journal::RconReply>().empty());
    EXPECT_EQ(Matching(Journal(), "log *"), JournalEntries{});
    EXPECT_EQ(Matching(Journal(), "GetCurrentDir()*"), JournalEntries{}) << "the config was read";
  }
  Restart();
}

}  // namespace
