// What each scenario makes cross between the plugin and its host and game, entry for entry: every
// lookup at its use, every argument as the game received it, every game heap block, every log
// line, in order. A reordered, extra, missing or cached call fails here.
#include <gtest/gtest.h>

#include <map>

#include "plugin/Scenarios.h"
#include "standin/Journal.h"
#include "support/JournalMatch.h"

namespace {

JournalEntries operator+(JournalEntries first, const JournalEntries& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

// Recurring stretches of the traces below.
const JournalEntries kRegisterCommands = {
    R"(GetAddress("FMemory.Malloc"))",
    "FMemory.Malloc(58, 0)",
    "GetCommands()",
    R"(ICommands.AddConsoleCommand("qv.reload"))",
    R"(GetAddress("FMemory.Free"))",
    "FMemory.Free(58 bytes)",
    R"(GetAddress("FMemory.Malloc"))",
    "FMemory.Malloc(58, 0)",
    "GetCommands()",
    R"(ICommands.AddRconCommand("qv.reload"))",
    R"(GetAddress("FMemory.Free"))",
    "FMemory.Free(58 bytes)",
    R"(GetAddress("FMemory.Malloc"))",
    "FMemory.Malloc(58, 0)",
    "GetCommands()",
    R"(ICommands.AddConsoleCommand("qv.status"))",
    R"(GetAddress("FMemory.Free"))",
    "FMemory.Free(58 bytes)",
    R"(GetAddress("FMemory.Malloc"))",
    "FMemory.Malloc(58, 0)",
    "GetCommands()",
    R"(ICommands.AddRconCommand("qv.status"))",
    R"(GetAddress("FMemory.Free"))",
    "FMemory.Free(58 bytes)",
};
const JournalEntries kInstallHook = {
    "GetHooks()",
    R"(IHooks.InstallHook("AMissionDispatcher.StartMission"))",
};
const JournalEntries kBobsController = {
    R"(GetAddress("APrimalCharacter.IsDead"))",
    "APrimalCharacter.IsDead(character 1)",
    R"(GetAddress("APawn.GetOwnerController"))",
    "APawn.GetOwnerController(character 1)",
};
// The display name of `mission`, read in place from its class's default object.
JournalEntries DisplayNameOf(const std::string& mission) {
  return {
      R"(GetAddress("UClass.GetDefaultObject"))",
      "UClass.GetDefaultObject(class \"" + mission + "\", true)",
      "GetAddress(mission \"" + mission + "\", \"AMissionType.MissionDisplayName\")",
  };
}
// The filter asked about `mission` with the entry "Hunt".
JournalEntries Decision(const std::string& mission) {
  return DisplayNameOf(mission) + JournalEntries{
                                      R"(Utf8Decode("Hunt"))",  R"(GetAddress("FMemory.Malloc"))",
                                      "FMemory.Malloc(44, 0)",  R"(GetAddress("FMemory.Free"))",
                                      "FMemory.Free(44 bytes)",
                                  };
}
const JournalEntries kNotifyBob = {
    R"(Utf8Decode("This mission has been disabled, but you have had it unlocked now!"))",
    R"(GetAddress("FMemory.Malloc"))",
    "FMemory.Malloc(212, 0)",
    R"(GetAddress("FMemory.Malloc"))",
    "FMemory.Malloc(212, 0)",
    R"(GetAddress("AShooterPlayerController.ClientServerSOTFNotificationCustom"))",
    // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one entry, split to fit the line
    R"(AShooterPlayerController.ClientServerSOTFNotificationCustom(controller "Bob", )"
    R"("This mission has been disabled, but you have had it unlocked now!", (1, 0, 0, 1), 2, 10, )"
    "null, null)",
    R"(GetAddress("FMemory.Free"))",
    "FMemory.Free(212 bytes)",
    R"(GetAddress("FMemory.Free"))",
    "FMemory.Free(212 bytes)",
};
const JournalEntries kLookUpMissionData = {
    R"(GetAddress("AMissionType.GetMissionDataForCharacter"))",
    "AMissionType.GetMissionDataForCharacter(character 1, true)",
};
const JournalEntries kRecordHuntCompleted =
    kLookUpMissionData +
    JournalEntries{
        R"(GetAddress("UClass.GetDefaultObject"))",
        R"(UClass.GetDefaultObject(class "Hunt", true))",
        R"(GetAddress("AMissionType.GetMissionTag"))",
        R"(AMissionType.GetMissionTag(mission "Hunt"))",
        R"(GetAddress("FName.Init"))",
        R"(FName.Init("Complete", 0, 1, true, -1))",
        R"(GetAddress("APrimalBuff_MissionData.SetMissionData_Bool"))",
        R"(APrimalBuff_MissionData.SetMissionData_Bool(buff of character 1, "HuntTag", "Complete", true))",
        R"(GetAddress(mission "Hunt", "AMissionType.MissionVersion"))",
        R"(GetAddress("FName.Init"))",
        R"(FName.Init("Version", 0, 1, true, -1))",
        R"(GetAddress("APrimalBuff_MissionData.SetMissionData_Int"))",
        R"(APrimalBuff_MissionData.SetMissionData_Int(buff of character 1, "HuntTag", "Version", 7))",
        R"(GetAddress("FName.Init"))",
        R"(FName.Init("CompleteUtcTime", 0, 1, true, -1))",
        R"(GetAddress("APrimalBuff_MissionData.SetMissionData_Double"))",
        // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one entry, split to fit the line
        R"(APrimalBuff_MissionData.SetMissionData_Double(buff of character 1, "HuntTag", )"
        R"("CompleteUtcTime", *))",
        R"(GetAddress("AActor.ForceReplicateNow"))",
        "AActor.ForceReplicateNow(buff of character 1, false, false)",
    };
// The names of a start's log line: the mission's, then Bob's.
JournalEntries NamesForLog(const std::string& mission) {
  return DisplayNameOf(mission) +
         JournalEntries{
             "Utf8Encode(\"" + mission + "\")",
             R"(GetAddress("AShooterPlayerController.GetPlayerCharacterName"))",
             R"(AShooterPlayerController.GetPlayerCharacterName(controller "Bob"))",
             R"(Utf8Encode("Bob"))",
             R"(GetAddress("FMemory.Free"))",
             "FMemory.Free(8 bytes)",
         };
}
const JournalEntries kLogRefusedHunt =
    NamesForLog("Hunt") + JournalEntries{
                              "log [QuestVeto][info] Player Bob attempted to start "
                              "mission: Hunt!"};
// The reply `text` of `bytes` bytes in the game heap, as chat in `color` or over RCON.
JournalEntries ChatToBob(const std::string& text, int bytes, const std::string& color) {
  return {
      R"(GetAddress("FMemory.Malloc"))",
      "FMemory.Malloc(" + std::to_string(bytes) + ", 0)",
      R"(GetAddress("AShooterPlayerController.ClientServerChatDirectMessage"))",
      "AShooterPlayerController.ClientServerChatDirectMessage(controller \"Bob\", \"" + text +
          "\", " + color + ", false)",
      R"(GetAddress("FMemory.Free"))",
      "FMemory.Free(" + std::to_string(bytes) + " bytes)",
  };
}
JournalEntries RconReply(const std::string& text, int bytes) {
  return {
      R"(GetAddress("FMemory.Malloc"))",
      "FMemory.Malloc(" + std::to_string(bytes) + ", 0)",
      R"(GetAddress("RCONClientConnection.SendMessageW"))",
      "RCONClientConnection.SendMessageW(rcon 1, 7, 0, \"" + text + "\")",
      R"(GetAddress("FMemory.Free"))",
      "FMemory.Free(" + std::to_string(bytes) + " bytes)",
  };
}
const char* const kReloaded = "QuestVeto: Reloaded config";
const char* const kFailed = "QuestVeto: Failed to reload config";
const char* const kGreen = "(0, 1, 0, 1)";
const char* const kRed = "(1, 0, 0, 1)";
// The end of the config file's path in the log, written the system's way.
#if defined(_WIN32)
#define QV_CONFIG_SUFFIX R"(\HostApi\Plugins\QuestVeto\config.json)"
#else
#define QV_CONFIG_SUFFIX "/HostApi/Plugins/QuestVeto/config.json"
#endif
const char* const kMissingAtLoad =
    "log [QuestVeto][critical] Failed to load config from *" QV_CONFIG_SUFFIX
    "! "
    "\n Can't open config.json\n No mission is disabled until \"qv.reload\" succeeds.";
// A reload of the file that switches "Ride" off instead of "Hunt", its summary asked for.
const char* const kReloadedRideForHunt =
    "log [QuestVeto][info] Reloaded config from *" QV_CONFIG_SUFFIX
    ": 1 entry of \"DisabledMissions\" in force; added \"Ride\"; removed \"Hunt\"; "
    "\"ShowConfigSummary\" changed";
const char* const kBrokenAtLoad =
    "log [QuestVeto][critical] Failed to load config from *" QV_CONFIG_SUFFIX
    "! "
    "\n [json.exception.parse_error.101] parse error at line 1, column 29: *\n No mission is "
    "disabled until \"qv.reload\" succeeds.";

const std::map<std::string, JournalEntries>& ExpectedTraces() {
  static const std::map<std::string, JournalEntries> traces = {
      {"load, configuration good",
       JournalEntries{"GetLogSinks()", "GetCurrentDir()"} + kInstallHook + kRegisterCommands},
      {"load, configuration missing",
       JournalEntries{"GetLogSinks()", "GetCurrentDir()", kMissingAtLoad} + kInstallHook +
           kRegisterCommands},
      {"load, configuration broken",
       JournalEntries{"GetLogSinks()", "GetCurrentDir()", kBrokenAtLoad} + kInstallHook +
           kRegisterCommands},
      {"unload",
       {
           "GetHooks()",
           R"(IHooks.RemoveHook("AMissionDispatcher.StartMission"))",
           R"(GetAddress("FMemory.Malloc"))",
           "FMemory.Malloc(58, 0)",
           "GetCommands()",
           R"(ICommands.RemoveConsoleCommand("qv.reload"))",
           R"(GetAddress("FMemory.Free"))",
           "FMemory.Free(58 bytes)",
           R"(GetAddress("FMemory.Malloc"))",
           "FMemory.Malloc(58, 0)",
           "GetCommands()",
           R"(ICommands.RemoveRconCommand("qv.reload"))",
           R"(GetAddress("FMemory.Free"))",
           "FMemory.Free(58 bytes)",
           R"(GetAddress("FMemory.Malloc"))",
           "FMemory.Malloc(58, 0)",
           "GetCommands()",
           R"(ICommands.RemoveConsoleCommand("qv.status"))",
           R"(GetAddress("FMemory.Free"))",
           "FMemory.Free(58 bytes)",
           R"(GetAddress("FMemory.Malloc"))",
           "FMemory.Malloc(58, 0)",
           "GetCommands()",
           R"(ICommands.RemoveRconCommand("qv.status"))",
           R"(GetAddress("FMemory.Free"))",
           "FMemory.Free(58 bytes)",
       }},
      {"refused, living character with controller, logged",
       JournalEntries{R"(game starts mission(class "Hunt", character 1, 7))"} + kBobsController +
           Decision("Hunt") + kNotifyBob + kRecordHuntCompleted + kLogRefusedHunt},
      {"refused, living character with controller",
       JournalEntries{R"(game starts mission(class "Hunt", character 1, 7))"} + kBobsController +
           Decision("Hunt") + kNotifyBob + kRecordHuntCompleted},
      {"refused, dead character, logged",
       JournalEntries{
           R"(game starts mission(class "Hunt", character 1, 7))",
           R"(GetAddress("APrimalCharacter.IsDead"))",
           "APrimalCharacter.IsDead(character 1)",
       } + Decision("Hunt") +
           kRecordHuntCompleted},
      {"refused, no controller, logged",
       JournalEntries{R"(game starts mission(class "Hunt", character 1, 7))"} + kBobsController +
           JournalEntries{
               R"(GetAddress("AActor.GetInstigatorController"))",
               "AActor.GetInstigatorController(character 1)",
           } +
           Decision("Hunt") + kRecordHuntCompleted},
      {"refused, no character, logged",
       JournalEntries{R"(game starts mission(class "Hunt", null, 7))"} + Decision("Hunt")},
      {"refused, no mission data, logged",
       JournalEntries{R"(game starts mission(class "Hunt", character 1, 7))"} + kBobsController +
           Decision("Hunt") + kNotifyBob + kLookUpMissionData + kLogRefusedHunt},
      {"passed on, logged",
       JournalEntries{R"(game starts mission(class "Ride", character 1, 7))"} + kBobsController +
           Decision("Ride") + NamesForLog("Ride") +
           JournalEntries{
               "log [QuestVeto][info] Player Bob started mission: Ride!",
               R"(AMissionDispatcher.StartMission(dispatcher, class "Ride", character 1, 7))",
           }},
      {"passed on",
       JournalEntries{R"(game starts mission(class "Ride", character 1, 7))"} + kBobsController +
           Decision("Ride") +
           JournalEntries{
               R"(AMissionDispatcher.StartMission(dispatcher, class "Ride", character 1, 7))"}},
      {"passed on, no mission class, logged",
       JournalEntries{"game starts mission(null, character 1, 7)"} + kBobsController +
           JournalEntries{"AMissionDispatcher.StartMission(dispatcher, null, character 1, 7)"}},
      {"reload on the console, read",
       JournalEntries{R"(console controller "Bob" "qv.reload")", "GetCurrentDir()"} +
           ChatToBob(kReloaded, 106, kGreen)},
      {"reload on the console, missing",
       JournalEntries{
           R"(console controller "Bob" "qv.reload")",
           "GetCurrentDir()",
           "log [QuestVeto][critical] Failed to reload config! \n Can't open config.json",
       } + ChatToBob(kFailed, 128, kRed)},
      {"reload on the console, broken",
       JournalEntries{
           R"(console controller "Bob" "qv.reload")",
           "GetCurrentDir()",
           "log [QuestVeto][critical] Failed to reload config! \n "
           "[json.exception.parse_error.101] parse error at line 1, column 29: *",
       } + ChatToBob(kFailed, 128, kRed)},
      {"reload over RCON, read",
       JournalEntries{R"(rcon 1 "qv.reload")", "GetCurrentDir()", kReloadedRideForHunt} +
           RconReply(kReloaded, 106)},
      {"reload over RCON, missing",
       JournalEntries{
           R"(rcon 1 "qv.reload")",
           "GetCurrentDir()",
           "log [QuestVeto][critical] Failed to reload config! \n Can't open config.json",
       } + RconReply(kFailed, 128)},
      {"reload over RCON, unreadable",
       JournalEntries{
           R"(rcon 1 "qv.reload")",
           "GetCurrentDir()",
           "log [QuestVeto][critical] Failed to reload config! \n *",
       } + RconReply(kFailed, 128)},
      {"query from a second plugin",
       {
           R"(Utf8Decode("Great hunt"))",
           R"(GetAddress("FMemory.Malloc"))",
           "FMemory.Malloc(62, 0)",
           R"(Utf8Decode("Hunt"))",
           R"(GetAddress("FMemory.Malloc"))",
           "FMemory.Malloc(44, 0)",
           R"(GetAddress("FMemory.Free"))",
           "FMemory.Free(44 bytes)",
           R"(GetAddress("FMemory.Free"))",
           "FMemory.Free(62 bytes)",
           R"(GetAddress(mission "Ride", "AMissionType.MissionDisplayName"))",
           R"(Utf8Decode("Hunt"))",
           R"(GetAddress("FMemory.Malloc"))",
           "FMemory.Malloc(44, 0)",
           R"(GetAddress("FMemory.Free"))",
           "FMemory.Free(44 bytes)",
       }},
  };
  return traces;
}

using TraceTest = ServerTest;

TEST_F(TraceTest, EachScenarioMakesExactlyItsCrossings) {
  for (const Scenario& scenario : Scenarios()) {
    SCOPED_TRACE(scenario.Name);
    const auto expected = ExpectedTraces().find(scenario.Name);
    ASSERT_NE(expected, ExpectedTraces().end()) << "no trace for " << scenario.Name;
    Restart();
    Arrange(*this, scenario.Config, scenario.Loaded);
    StandIn::Journal::Start();
    scenario.Act(*this);
    StandIn::Journal::Stop();
    EXPECT_TRUE(IsExactly(StandIn::Journal::Entries(), expected->second));
  }
}

}  // namespace
