// Every line the plugin writes to the log, each provoked as a server meets it, with its exact text;
// when the once-per-read configuration warnings appear; and what a start or an unload does when a
// step of it fails.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "plugin/Scenarios.h"
#include "standin/CommandRegistry.h"
#include "standin/Faults.h"
#include "standin/GameHeap.h"
#include "standin/HookRegistry.h"
#include "standin/Journal.h"
#include "support/Shown.h"

namespace {

using StandIn::Faults::HostFailure;

const char* const kLogPrefix = "log [QuestVeto]";
// Stands for the configuration file's path of the server a case runs on.
const char* const kPathMark = "<path>";
const char* const kNotRead =
    "\n No mission is disabled until \"qv.reload\" succeeds.";  // ends a failed load's line

using Act = std::function<void(ScenarioTest&)>;

// The crossing that fails in a case: the `occurrence`th crossing whose fault entry reads
// "fault: <what> fails", failing `how`. An empty `what`: nothing fails.
struct Failing {
  std::string what;
  int occurrence = 1;
  HostFailure how = HostFailure::BadAlloc;
};

Failing Fails(std::string what, HostFailure how = HostFailure::BadAlloc, int occurrence = 1) {
  return {std::move(what), occurrence, how};
}
Failing FailsSecond(std::string what) {
  return {std::move(what), 2, HostFailure::BadAlloc};
}

void LoadIt(ScenarioTest& t) {
  t.Load();
}
void UnloadIt(ScenarioTest& t) {
  t.Unload();
}
void BobStarts(ScenarioTest& t, const std::string& mission) {
  t.Start(mission, &t.AddBob());
}
void BobStartsHunt(ScenarioTest& t) {
  BobStarts(t, "Hunt");
}
void BobStartsRide(ScenarioTest& t) {
  BobStarts(t, "Ride");
}
// "qv.reload" with the file gone, typed by Bob (who is answered in chat) or on the server console.
void ReloadMissingByBob(ScenarioTest& t) {
  t.Remove();
  StandIn::Controller& bob = t.Game().AddController("Bob");
  StandIn::Commands::Console("qv.reload", reinterpret_cast<APlayerController*>(bob.Object()));
}
void ReloadMissingOnServerConsole(ScenarioTest& t) {
  t.Remove();
  StandIn::Commands::Console("qv.reload", nullptr);
}

class LogLinesTest : public ScenarioTest {
 protected:
  void TearDown() override {
    StandIn::Faults::Disarm();
    ScenarioTest::TearDown();
  }

  // A fresh server with `config` ("" none), the plugin loaded when `loaded`, and the journal
  // started afresh: what `act` makes cross is all it holds.
  void Fresh(const std::string& config, bool loaded) {
    Prepare(Scenario{"", config, loaded, nullptr, nullptr, {}});
    StandIn::Journal::Start();
  }

  // Runs `act` on a fresh server as Fresh makes it, with `failing` failing; false when `act`
  // never reaches that crossing.
  bool Provoke(const std::string& config, bool loaded, const Act& act, const Failing& failing) {
    if (failing.what.empty()) {
      Fresh(config, loaded);
      act(*this);
      return true;
    }
    const std::string fault = "fault: " + failing.what + " fails";
    int met = 0;
    for (uint64_t n = 1;; ++n) {
      const std::vector<StandIn::GameHeap::Block> blocks = StandIn::GameHeap::LiveBlockList();
      Fresh(config, loaded);
      StandIn::Faults::FailAt(n, failing.how);
      act(*this);
      const bool struck = StandIn::Faults::Struck();
      StandIn::Faults::Disarm();
      if (!Matching(Journal(), fault).empty() && ++met == failing.occurrence) return true;
      if (!struck) return false;
      ForgiveFreeLookup(blocks);
    }
  }

  // After a run whose fault was the game's free lookup: the server gone, the blocks it could not
  // give back are given back.
  void ForgiveFreeLookup(const std::vector<StandIn::GameHeap::Block>& blocksBefore) {
    if (Matching(Journal(), kFreeLookupFails).empty()) return;
    TearDown();
    ReleaseBlocksLeftSince(blocksBefore);
  }

  // The plugin's log lines in the journal, each as "[level] message".
  static std::vector<std::string> LogLines() {
    std::vector<std::string> lines;
    for (const std::string& entry : Journal()) {
      if (entry.rfind(kLogPrefix, 0) == 0)
        lines.push_back(entry.substr(std::string(kLogPrefix).size()));
    }
    return lines;
  }

  std::string WithPath(std::string line) const {
    const std::size_t mark = line.find(kPathMark);
    if (mark != std::string::npos) line.replace(mark, std::string(kPathMark).size(), ConfigPath());
    return line;
  }
};

TEST_F(LogLinesTest, EachLineOfTheLogTableWithItsExactText) {
  const std::string huntOffWith = R"({"DisabledMissions": ["Hunt"], )";
  struct Row {
    const char* when;
    std::string config;  // "" none
    bool loaded;
    Act act;
    Failing failing;
    std::vector<std::string> lines;  // every line the act writes, in order
  };
  const std::string loaded =
      "[info] Loaded config from <path>: 1 entry of \"DisabledMissions\" in force";
  const Row rows[] = {
      {"load", kHuntOff, false, LoadIt, {}, {loaded}},
      {"load, file missing",
       "",
       false,
       LoadIt,
       {},
       {std::string("[critical] Failed to load config from <path>! \n Can't open config.json") +
        kNotRead}},
      {"load, file missing, its path unknown",
       "",
       false,
       LoadIt,
       FailsSecond("GetCurrentDir"),
       {std::string("[critical] Failed to load config! \n Can't open config.json") + kNotRead}},
      {"load, reading failed without a reason",
       "",
       false,
       LoadIt,
       Fails("GetCurrentDir", HostFailure::Foreign),
       {std::string("[critical] Failed to load config from <path>! \n unknown error") + kNotRead}},
      {"load, confirming failed",
       kHuntOff,
       false,
       LoadIt,
       FailsSecond("GetCurrentDir"),
       {"[critical] Confirming the config in force failed: std::bad_alloc"}},
      {"load, hook",
       kHuntOff,
       false,
       LoadIt,
       Fails("IHooks.InstallHook"),
       {loaded, "[critical] Installing the mission start hook failed: std::bad_alloc"}},
      {"load, hook, no reason",
       kHuntOff,
       false,
       LoadIt,
       Fails("IHooks.InstallHook", HostFailure::Foreign),
       {loaded, "[critical] Installing the mission start hook failed: unknown error"}},
      {"load, console command",
       kHuntOff,
       false,
       LoadIt,
       Fails("AddConsoleCommand"),
       {loaded, "[critical] Registering the console command failed: std::bad_alloc"}},
      {"load, RCON command",
       kHuntOff,
       false,
       LoadIt,
       Fails("AddRconCommand"),
       {loaded, "[critical] Registering the RCON command failed: std::bad_alloc"}},
      {"unload, hook",
       kHuntOff,
       true,
       UnloadIt,
       Fails("IHooks.RemoveHook"),
       {"[critical] Removing the mission start hook failed: std::bad_alloc"}},
      {"unload, console command",
       kHuntOff,
       true,
       UnloadIt,
       Fails("RemoveConsoleCommand"),
       {"[critical] Removing the console command failed: std::bad_alloc"}},
      {"unload, RCON command",
       kHuntOff,
       true,
       UnloadIt,
       Fails("RemoveRconCommand", HostFailure::Foreign),
       {"[critical] Removing the RCON command failed: unknown error"}},
      {"reload, file missing",
       kHuntOff,
       true,
       ReloadMissingOnServerConsole,
       {},
       {"[critical] Failed to reload config! \n Can't open config.json"}},
      {"reload, the failure's reply failed",
       kHuntOff,
       true,
       ReloadMissingByBob,
       Fails(R"(GetAddress("AShooterPlayerController.ClientServerChatDirectMessage"))"),
       {"[critical] Failed to reload config! \n Can't open config.json",
        "[critical] qv.reload failed unexpectedly: std::bad_alloc"}},
      {"reload, the failure's reply failed without a reason",
       kHuntOff,
       true,
       ReloadMissingByBob,
       Fails(R"(GetAddress("AShooterPlayerController.ClientServerChatDirectMessage"))",
             HostFailure::Foreign),
       {"[critical] Failed to reload config! \n Can't open config.json",
        "[critical] qv.reload failed unexpectedly"}},
      {"refused start, logged",
       kHuntOffLogged,
       true,
       BobStartsHunt,
       {},
       {"[info] Player Bob attempted to start mission: Hunt!"}},
      {"passed-on start, logged",
       kHuntOffLogged,
       true,
       BobStartsRide,
       {},
       {"[info] Player Bob started mission: Ride!"}},
      {"ShowMissionNames not a boolean",
       huntOffWith + R"("ShowMissionNames": "yes"})",
       true,
       BobStartsRide,
       {},
       {"[warning] Config key \"ShowMissionNames\" cannot be used, the default applies: "
        "[json.exception.type_error.302] type must be boolean, but is string"}},
      {"DisabledMessage not a string",
       huntOffWith + R"("DisabledMessage": 1})",
       true,
       BobStartsHunt,
       {},
       {"[warning] Config key \"DisabledMessage\" cannot be used, the default applies: "
        "[json.exception.type_error.302] type must be string, but is number"}},
      {"DisabledMessage rejected by the formatter",
       huntOffWith + R"("DisabledMessage": "{}"})",
       true,
       BobStartsHunt,
       {},
       {"[warning] Config key \"DisabledMessage\" cannot be used, the default applies: "
        "argument not found"}},
      {"top level not an object",
       R"(["Hunt"])",
       true,
       BobStartsRide,
       {},
       {"[warning] Config key \"ShowMissionNames\" cannot be used, the default applies: "
        "[json.exception.type_error.306] cannot use value() with array"}},
      {"start, controller lookup",
       kHuntOff,
       true,
       BobStartsHunt,
       Fails(R"(GetAddress("APrimalCharacter.IsDead"))"),
       {"[warning] Mission start: the controller lookup failed: std::bad_alloc"}},
      {"start, decision",
       kHuntOff,
       true,
       BobStartsHunt,
       Fails(R"(GetAddress("UClass.GetDefaultObject"))"),
       {"[warning] Mission start: the decision failed, the start goes on to the game: "
        "std::bad_alloc"}},
      {"start, decision, no reason",
       kHuntOff,
       true,
       BobStartsHunt,
       Fails(R"(GetAddress("UClass.GetDefaultObject"))", HostFailure::Foreign),
       {"[warning] Mission start: the decision failed, the start goes on to the game"}},
      {"start, notification",
       kHuntOff,
       true,
       BobStartsHunt,
       Fails(R"(GetAddress("AShooterPlayerController.ClientServerSOTFNotificationCustom"))"),
       {"[warning] Mission start: the notification failed: std::bad_alloc"}},
      {"start, notification, no reason",
       kHuntOff,
       true,
       BobStartsHunt,
       Fails(R"(GetAddress("AShooterPlayerController.ClientServerSOTFNotificationCustom"))",
             HostFailure::Foreign),
       {"[warning] Mission start: the notification failed"}},
      {"start, mission data",
       kHuntOff,
       true,
       BobStartsHunt,
       Fails(R"(GetAddress("AMissionType.GetMissionDataForCharacter"))"),
       {"[warning] Mission start: the mission data failed: std::bad_alloc"}},
      {"start, log line",
       kHuntOffLogged,
       true,
       BobStartsRide,
       Fails(R"(GetAddress("AShooterPlayerController.GetPlayerCharacterName"))"),
       {"[warning] Mission start: the log line failed: std::bad_alloc"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.when);
    ASSERT_TRUE(Provoke(row.config, row.loaded, row.act, row.failing))
        << "never crossed " << row.failing.what;
    std::vector<std::string> expected;
    for (const std::string& line : row.lines) expected.push_back(WithPath(line));
    EXPECT_EQ(LogLines(), expected);
  }
}

// A configuration problem is warned about at the first start after a read that meets it,
// whatever kind of start that is, and not again until the next read.
TEST_F(LogLinesTest, ConfigWarningAtTheFirstStartAfterEachRead) {
  const std::string showYes =
      "[warning] Config key \"ShowMissionNames\" cannot be used, the default applies: "
      "[json.exception.type_error.302] type must be boolean, but is string";
  const std::string messageNumber =
      "[warning] Config key \"DisabledMessage\" cannot be used, the default applies: "
      "[json.exception.type_error.302] type must be string, but is number";
  const std::string messageField =
      "[warning] Config key \"DisabledMessage\" cannot be used, the default applies: "
      "argument not found";
  struct Key {
    std::string config;
    std::string warning;
    bool everyStart;  // false: only a start that notifies a player reads the key
  };
  const Key keys[] = {
      {R"({"DisabledMissions": ["Hunt"], "ShowMissionNames": "yes"})", showYes, true},
      {R"({"DisabledMissions": ["Hunt"], "DisabledMessage": 1})", messageNumber, false},
      {R"({"DisabledMissions": ["Hunt"], "DisabledMessage": "{}"})", messageField, false},
  };
  struct Start {
    const char* kind;
    bool notifies;
    Act start;
  };
  const Start starts[] = {
      {"refused, with a controller", true, BobStartsHunt},
      {"refused, character without a controller", false,
       [](ScenarioTest& t) { t.Start("Hunt", &t.Game().AddCharacter(nullptr, nullptr, true)); }},
      {"refused, dead character", false,
       [](ScenarioTest& t) {
         t.AddBob().SetDead(true);
         t.Start("Hunt", t.BobsCharacter);
       }},
      {"refused, no character", false, [](ScenarioTest& t) { t.Start("Hunt", nullptr); }},
      {"passed on, with a mission class", false, BobStartsRide},
      {"passed on, no mission class", false, [](ScenarioTest& t) { t.Start("", &t.AddBob()); }},
  };
  for (const Key& key : keys) {
    for (const Start& start : starts) {
      SCOPED_TRACE(key.config + ", " + start.kind);
      const std::vector<std::string> once = key.everyStart || start.notifies
                                                ? std::vector<std::string>{key.warning}
                                                : std::vector<std::string>{};
      Fresh(key.config, true);
      start.start(*this);
      EXPECT_EQ(LogLines(), once) << "the first start after the load";
      StandIn::Journal::Start();
      start.start(*this);
      EXPECT_TRUE(LogLines().empty()) << "the second start warned again";
      StandIn::Commands::Console("qv.reload", nullptr);
      start.start(*this);
      EXPECT_EQ(LogLines(), once) << "the first start after a reload";
    }
  }
}

// With no configuration read, the load's critical line has said why nothing is switched off:
// starts of every kind pass on to the game without a word.
TEST_F(LogLinesTest, StartsAfterAFailedReadAtLoadPassOnSilently) {
  const char* const files[] = {"", kBroken};
  const std::pair<const char*, Act> starts[] = {
      {"Hunt by Bob", BobStartsHunt},
      {"no mission class", [](ScenarioTest& t) { t.Start("", &t.AddBob()); }},
      {"no character", [](ScenarioTest& t) { t.Start("Hunt", nullptr); }},
  };
  for (const char* file : files) {
    for (const auto& [kind, start] : starts) {
      SCOPED_TRACE(std::string(file) + ", " + kind);
      Prepare(Scenario{"", file, false, nullptr, nullptr, {}});
      Load();
      StandIn::Journal::Start();
      start(*this);
      EXPECT_TRUE(LogLines().empty());
      EXPECT_EQ(Matching(Journal(), kGameStart).size(), 1u);
    }
  }
}

// A start whose mission cannot be looked at, whichever crossing of the decision fails, goes on to
// the game unchanged and is not recorded completed, although the mission is switched off.
TEST_F(LogLinesTest, StartWhoseDecisionFailsReachesTheGame) {
  const char* const crossings[] = {R"(GetAddress("UClass.GetDefaultObject"))", "GetAddress"};
  for (const char* crossing : crossings) {
    for (const HostFailure how : {HostFailure::BadAlloc, HostFailure::Foreign}) {
      SCOPED_TRACE(crossing);
      uintptr_t result = 1;
      ASSERT_TRUE(Provoke(
          kHuntOff, true, [&](ScenarioTest& t) { result = t.Start("Hunt", &t.AddBob()); },
          Fails(crossing, how)));
      EXPECT_TRUE(IsExactly(Matching(Journal(), kGameStart),
                            {R"(AMissionDispatcher.StartMission(dispatcher, class "Hunt", )"
                             "character 1, 7)"}));
      EXPECT_EQ(result, Game().LastGameResult());
      EXPECT_TRUE(Matching(Journal(), NotificationTo("Bob")).empty());
      EXPECT_TRUE(Matching(Journal(), "APrimalBuff_MissionData.*").empty());
      const std::vector<std::string> lines = LogLines();
      ASSERT_EQ(lines.size(), 1u);
      EXPECT_EQ(lines[0].rfind("[warning] Mission start: the decision failed, the start goes on "
                               "to the game",
                               0),
                0u)
          << lines[0];
    }
  }
}

// A load whose logger cannot be made has no way to report anything later: it places nothing.
TEST_F(LogLinesTest, LoadWithoutItsLoggerPlacesNothing) {
  for (const HostFailure how : {HostFailure::BadAlloc, HostFailure::Foreign}) {
    ASSERT_TRUE(Provoke(kHuntOff, false, LoadIt, Fails("GetLogSinks", how)));
    EXPECT_TRUE(LogLines().empty());
    EXPECT_TRUE(Matching(Journal(), "GetHooks()").empty());
    EXPECT_TRUE(Matching(Journal(), "GetCommands()").empty());
    EXPECT_TRUE(StandIn::Hooks::Detours("AMissionDispatcher.StartMission").empty());
    EXPECT_TRUE(StandIn::Commands::Names().empty());
  }
}

// Each removal of the unload, and every crossing inside it, failing once: what the plugin handed
// the host is gone from its registries all the same.
TEST_F(LogLinesTest, UnloadWithAFailedRemovalLeavesNothingRegistered) {
  for (uint64_t n = 1;; ++n) {
    SCOPED_TRACE("crossing " + std::to_string(n));
    const std::vector<StandIn::GameHeap::Block> blocks = StandIn::GameHeap::LiveBlockList();
    Fresh(kHuntOff, true);
    StandIn::Faults::FailAt(n, n % 2 == 1 ? HostFailure::BadAlloc : HostFailure::Foreign);
    Unload();
    const bool struck = StandIn::Faults::Struck();
    StandIn::Faults::Disarm();
    EXPECT_TRUE(StandIn::Hooks::Detours("AMissionDispatcher.StartMission").empty());
    EXPECT_TRUE(StandIn::Commands::Names().empty());
    if (!struck) break;
    ForgiveFreeLookup(blocks);
  }
}

}  // namespace
