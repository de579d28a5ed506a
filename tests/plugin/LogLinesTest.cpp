// Every line the plugin writes to the log, each provoked as a server meets it, with its exact text;
// when the once-per-read configuration warnings appear; and what a start or an unload does when a
// step of it fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <spdlog/sinks/sink.h>

#include "host-bridge/FString.h"
#include "host-bridge/HostApi.h"
#include "plugin/FaultHarness.h"
#include "plugin/Scenarios.h"
#include "plugin/Version.h"
#include "standin/Journal.h"
#include "standin/Registries.h"
#include "standin/ScratchServer.h"
#include "standin/World.h"
#include "support/Said.h"
#include "support/Shown.h"

namespace {

const char* const kLogPrefix = "log [QuestVeto]";
// Stands for the configuration file's path of the server a case runs on.
const char* const kPathMark = "<path>";
const char* const kNotRead =
    "\n No mission is disabled until \"qv.reload\" succeeds.";  // ends a failed load's line

using Act = std::function<void(ServerTest&)>;

// What a case does on a fresh server: `config` ("" none) written, the plugin loaded when
// `loaded`, then `act`.
struct Action {
  std::string config;
  bool loaded;
  Act act;
};

Action Loading(std::string config) {
  return {std::move(config), false, [](ServerTest& t) { t.LoadPlugin(); }};
}
Action Unloading() {
  return {kHuntOff, true, [](ServerTest& t) { t.UnloadPlugin(); }};
}
Action With(std::string config, Act act) {
  return {std::move(config), true, std::move(act)};
}

void BobStartsHunt(ServerTest& /*test*/) {
  ServerTest::StartMission(Hunt(), &AddBob());
}
void BobStartsRide(ServerTest& /*test*/) {
  ServerTest::StartMission(Ride(), &AddBob());
}
// "qv.reload" with the file gone, typed by Bob (who is answered in chat) or on the server console.
void ReloadMissingByBob(ServerTest& t) {
  t.RemoveConfig();
  StandIn::Controller& bob = *ServerTest::AddPlayer({"Bob"}).Controller;
  StandIn::Commands::Console("qv.reload", reinterpret_cast<APlayerController*>(bob.Object()));
}
// "qv.status" typed by Bob, who is answered in chat.
void StatusByBob(ServerTest& /*test*/) {
  StandIn::Controller& bob = *ServerTest::AddPlayer({"Bob"}).Controller;
  StandIn::Commands::Console("qv.status", reinterpret_cast<APlayerController*>(bob.Object()));
}
void ReloadMissingOnServerConsole(ServerTest& t) {
  t.RemoveConfig();
  StandIn::Commands::Console("qv.reload", nullptr);
}
// "qv.reload" on the server console after `config` was written.
Act ReloadOf(const std::string& config) {
  return [config](ServerTest& t) {
    t.WriteConfig(config);
    StandIn::Commands::Console("qv.reload", nullptr);
  };
}
// config.json gone, and `names` beside where it was; then the plugin loaded or "qv.reload" run.
Action LoadingWithout(const std::vector<std::string>& names) {
  return {"", false, [names](ServerTest& t) {
            for (const std::string& name : names) t.WriteBesideConfig(name, kHuntOff);
            t.LoadPlugin();
          }};
}
Action ReloadingWithout(const std::string& name) {
  return With(kHuntOff, [name](ServerTest& t) {
    t.RemoveConfig();
    t.WriteBesideConfig(name, kHuntOff);
    StandIn::Commands::Console("qv.reload", nullptr);
  });
}
// A sink of the host's that refuses every pattern and formatter.
class PatternRefusingSink final : public spdlog::sinks::sink {
 public:
  void log(const spdlog::details::log_msg& /*message*/) override {}
  void flush() override {}
  void set_pattern(const std::string& /*pattern*/) override {
    throw std::runtime_error("pattern refused");
  }
  void set_formatter(std::unique_ptr<spdlog::formatter> /*formatter*/) override {
    throw std::runtime_error("formatter refused");
  }
};

// Something other than the plugin takes what it registered away before it is unloaded.
void UnloadAfter(ServerTest& t, const std::function<void(const FString&)>& takeAway) {
  takeAway(FString("qv.reload"));
  t.UnloadPlugin();
}

using LogLinesTest = ServerTest;

// A fresh server of `test` with `config` ("" none), the plugin loaded when `loaded`, and the
// journal started afresh: what is done next is all it holds.
void Fresh(ServerTest& test, const std::string& config, bool loaded) {
  test.Restart();
  Arrange(test, config, loaded);
  StandIn::Journal::Start();
}

// Runs the action on a fresh server as Fresh makes it, with `failing` failing; false when the
// action never reaches that crossing.
bool Provoke(ServerTest& test, const Action& action, const FailingCrossing& failing) {
  if (failing.crossing.empty()) {
    Fresh(test, action.config, action.loaded);
    action.act(test);
    return true;
  }
  const FaultRun run = RunWithFailing(
      test, failing, [&] { Arrange(test, action.config, action.loaded); },
      [&] { action.act(test); });
  EXPECT_EQ(run.escaped, "");
  return run.struck;
}

// The plugin's log lines in the journal, each as "[level] message".
std::vector<std::string> LogLines() {
  std::vector<std::string> lines;
  for (const std::string& entry : ServerTest::Journal()) {
    if (entry.rfind(kLogPrefix, 0) == 0)
      lines.push_back(entry.substr(std::string(kLogPrefix).size()));
  }
  return lines;
}

// `line` with the configuration file's path of the server `test` runs in place of its mark.
std::string WithPath(const ServerTest& test, std::string line) {
  const std::size_t mark = line.find(kPathMark);
  if (mark != std::string::npos)
    line.replace(mark, std::string(kPathMark).size(), test.ConfigPath());
  return line;
}

TEST_F(LogLinesTest, EachLineOfTheLogTableWithItsExactText) {
  const std::string huntOffWith = R"({"DisabledMissions": ["Hunt"], )";
  struct Row {
    const char* when;
    Action action;
    FailingCrossing failing;
    std::vector<std::string> lines;  // every line the action writes, in order
  };
  const std::string version = std::string(" (QuestVeto ") + kPluginVersion + ")";
  const std::string loaded =
      "[info] Loaded config from <path>: 1 entry of \"DisabledMissions\" in force" + version;
  const std::string reloaded = "[info] Reloaded config from <path>: ";
  const std::string summarised = R"(, "ShowConfigSummary": true})";
  const std::string hookRefused =
      "[critical] Installing the mission start hook failed: the host refused it; no mission "
      "start is checked until QuestVeto is loaded again";
  const std::string huntAndMore = R"({"DisabledMissions": ["Hunt"]},)"
                                  "\n"
                                  R"(  "DisabledMessage": "Gone"})";
  // The entries "A", "B", ... as a list of `count` that asks for the summary.
  const auto lettered = [&](int count) {
    std::string list = R"({"DisabledMissions": [)";
    for (int i = 0; i < count; ++i)
      list += std::string(i == 0 ? "\"" : ", \"") + char('A' + i) + "\"";
    return list + "]" + summarised;
  };
  const std::string tenNamed = R"("A", "B", "C", "D", "E", "F", "G", "H", "I", "J")";
  const std::string twelve =
      R"({"DisabledMissions": ["A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L"])" +
      summarised;
  const Row rows[] = {
    {"load", Loading(kHuntOff), {}, {}},
    {"load, its summary asked for", Loading(kHuntOffSummarised), {}, {loaded}},
    {"load, file missing",
     Loading(""),
     {},
     {std::string("[critical] Failed to load config from <path>! \n Can't open config.json") +
      kNotRead}},
    {"load, its path unknown",
     Loading(kHuntOff),
     Fails("GetCurrentDir()"),
     {"[critical] Failed to load config! \n " + kBadAlloc + kNotRead}},
    {"load, its path unknown, no reason",
     Loading(kHuntOff),
     Fails("GetCurrentDir()", HostFailure::Foreign),
     {std::string("[critical] Failed to load config! \n unknown error") + kNotRead}},
    {"load, hook",
     Loading(kHuntOff),
     Fails("IHooks.InstallHook(*"),
     {"[critical] Installing the mission start hook failed: " + kBadAlloc}},
    {"load, hook, no reason",
     Loading(kHuntOff),
     Fails("IHooks.InstallHook(*", HostFailure::Foreign),
     {"[critical] Installing the mission start hook failed: unknown error"}},
    {"load, console command",
     Loading(kHuntOff),
     Fails("ICommands.AddConsoleCommand(*"),
     {"[critical] Registering the console command failed: " + kBadAlloc}},
    {"load, RCON command",
     Loading(kHuntOff),
     Fails("ICommands.AddRconCommand(*"),
     {"[critical] Registering the RCON command failed: " + kBadAlloc}},
    {"load, console status command",
     Loading(kHuntOff),
     FailsSecond("ICommands.AddConsoleCommand(*"),
     {"[critical] Registering the console status command failed: " + kBadAlloc}},
    {"load, RCON status command",
     Loading(kHuntOff),
     FailsSecond("ICommands.AddRconCommand(*"),
     {"[critical] Registering the RCON status command failed: " + kBadAlloc}},
    {"load, hook refused",
     {kHuntOff, false,
      [](ServerTest& t) {
        StandIn::Hooks::RefuseInstalls();
        t.LoadPlugin();
      }},
     {},
     {hookRefused}},
    {"unload after the hook was refused: its removal is refused as expected",
     {kHuntOff, false,
      [](ServerTest& t) {
        StandIn::Hooks::RefuseInstalls();
        t.LoadPlugin();
        t.UnloadPlugin();
      }},
     {},
     {hookRefused}},
    {"load, the log's pattern refused by a sink of the host's, then unload",
     {kHuntOff, false,
      [](ServerTest& t) {
        StandIn::AddLogSink(std::make_shared<PatternRefusingSink>());
        t.LoadPlugin();
        t.UnloadPlugin();
      }},
     {},
     {"[critical] Creating the log failed: pattern refused"}},
    {"unload, hook taken off by another",
     With(kHuntOff,
          [](ServerTest& t) {
            UnloadAfter(t, [](const FString&) {
              const char* const key = "AMissionDispatcher.StartMission";
              HostApi::GetHooks().RemoveHook(key, StandIn::Hooks::Detours(key).front());
            });
          }),
     {},
     {"[critical] Removing the mission start hook failed: the host no longer held it, so no "
      "mission start reaches QuestVeto after the unload"}},
    {"unload, console command taken off by another",
     With(kHuntOff,
          [](ServerTest& t) {
            UnloadAfter(
                t, [](const FString& name) { HostApi::GetCommands().RemoveConsoleCommand(name); });
          }),
     {},
     {"[critical] Removing the console command failed: the host held no such command, so none "
      "is left to call QuestVeto after the unload"}},
    {"unload, RCON command taken off by another",
     With(kHuntOff,
          [](ServerTest& t) {
            UnloadAfter(
                t, [](const FString& name) { HostApi::GetCommands().RemoveRconCommand(name); });
          }),
     {},
     {"[critical] Removing the RCON command failed: the host held no such command, so none is "
      "left to call QuestVeto after the unload"}},
    {"load, text after the first value",
     Loading(huntAndMore),
     {},
     {"[warning] Config text after the first JSON value is not read: <path>, from line 1, "
      "column 31"}},
    {"reload, text after the first value",
     With(kHuntOff, ReloadOf(huntAndMore)),
     {},
     {"[warning] Config text after the first JSON value is not read: <path>, from line 1, "
      "column 31"}},
    {"load, a key in the wrong case",
     Loading(R"({"disabledMissions": ["Hunt"], "ShowMisionNames": true})"),
     {},
     {"[warning] Config key \"ShowMisionNames\" is not read: did you mean "
      "\"ShowMissionNames\"?",
      "[warning] Config key \"disabledMissions\" is not read: did you mean "
      "\"DisabledMissions\"?"}},
    {"reload, a key in the wrong case",
     With(kHuntOffSummarised, ReloadOf(R"({"disabledmissions": ["Hunt"])" + summarised)),
     {},
     {"[warning] Config key \"disabledmissions\" is not read: did you mean "
      "\"DisabledMissions\"?",
      reloaded + "0 entries of \"DisabledMissions\" in force; removed \"Hunt\""}},
    {"reload, entries added and removed, settings changed",
     With(kHuntOffSummarised, ReloadOf(R"({"DisabledMissions": ["Ride", "Cave", "Ride"], )"
                                       R"("DisabledMessage": "Gone", "ShowMissionNames": true)" +
                                       summarised)),
     {},
     {reloaded +
      "3 entries of \"DisabledMissions\" in force; added \"Ride\", \"Cave\", "
      "\"Ride\"; removed \"Hunt\"; \"DisabledMessage\" changed; "
      "\"ShowMissionNames\" changed"}},
    {"reload, more than ten added",
     With(kHuntOffSummarised, ReloadOf(twelve)),
     {},
     {reloaded +
      "12 entries of \"DisabledMissions\" in force; added \"A\", \"B\", \"C\", "
      "\"D\", \"E\", \"F\", \"G\", \"H\", \"I\", \"J\" and 2 more; removed "
      "\"Hunt\""}},
    {"reload, ten added: all named",
     With(kHuntOffSummarised, ReloadOf(lettered(10))),
     {},
     {reloaded + "10 entries of \"DisabledMissions\" in force; added " + tenNamed +
      "; removed \"Hunt\""}},
    {"reload, eleven added: one more than named",
     With(kHuntOffSummarised, ReloadOf(lettered(11))),
     {},
     {reloaded + "11 entries of \"DisabledMissions\" in force; added " + tenNamed +
      " and 1 more; removed \"Hunt\""}},
    {"reload, a good list after one cut short: nothing of the read before",
     With(R"({"DisabledMissions": ["Hunt", 7]})", ReloadOf(kHuntOff)),
     {},
     {}},
    {"reload, a broken file after a missing one with a near miss beside: no near miss named",
     With(kHuntOff,
          [](ServerTest& t) {
            t.RemoveConfig();
            t.WriteBesideConfig("config.json.txt", kHuntOff);
            StandIn::Commands::Console("qv.reload", nullptr);
            t.WriteConfig("{");
            StandIn::Commands::Console("qv.reload", nullptr);
          }),
     {},
     {"[critical] Failed to reload config! \n Can't open config.json",
      "[warning] Found \"config.json.txt\" where config.json belongs: rename it to config.json "
      "(Windows hides known extensions)",
      "[critical] Failed to reload config! \n [json.exception.parse_error.101] parse error at "
      "line 1, column 2: syntax error while parsing object key - unexpected end of input; "
      "expected string literal"}},
    {"reload, the same file",
     With(kHuntOffSummarised, ReloadOf(kHuntOffSummarised)),
     {},
     {reloaded + "1 entry of \"DisabledMissions\" in force; no change"}},
    {"reload, the same file, its summary not asked for",
     With(kHuntOff, ReloadOf(kHuntOff)),
     {},
     {}},
    {"load, a number ends the list",
     Loading(R"({"DisabledMissions": ["Hunt", 7, "Ride", "Cave"]})"),
     {},
     {"[warning] Config key \"DisabledMissions\" ends at entry 2, which is a number, not a "
      "string: 1 entry is in force, the 2 after it are not"}},
    {"reload, an array ends the list, one entry after it",
     With(kHuntOff, ReloadOf(R"({"DisabledMissions": ["Hunt", "Cave", [], "Ride"]})")),
     {},
     {"[warning] Config key \"DisabledMissions\" ends at entry 3, which is an array, not a "
      "string: 2 entries are in force, the 1 after it is not"}},
    {"reload, the last entry ends the list",
     With(kHuntOff, ReloadOf(R"({"DisabledMissions": {"b": null, "a": "Hunt"}})")),
     {},
     {"[warning] Config key \"DisabledMissions\" ends at entry 2, which is null, not a string: "
      "1 entry is in force"}},
    {"reload, a lone value that is no string",
     With(kHuntOff, ReloadOf(R"({"DisabledMissions": false})")),
     {},
     {"[warning] Config key \"DisabledMissions\" ends at entry 1, which is a boolean, not a "
      "string: 0 entries are in force"}},
    {"reload, an object ends the list first",
     With(kHuntOff, ReloadOf(R"({"DisabledMissions": [{}, "Hunt"]})")),
     {},
     {"[warning] Config key \"DisabledMissions\" ends at entry 1, which is an object, not a "
      "string: 0 entries are in force, the 1 after it is not"}},
    {"reload, config.json a directory",
     With(kHuntOff,
          [](ServerTest& t) {
            t.MakeConfigUnreadable();
            StandIn::Commands::Console("qv.reload", nullptr);
          }),
     {},
     {"[critical] Failed to reload config! \n Can't open config.json"}},
    {"reload, settings dropped that held their defaults",
     With(huntOffWith +
              R"("DisabledMessage": "This mission has been disabled, but you have had )"
              R"(it unlocked now!", "ShowMissionNames": false)" +
              summarised,
          ReloadOf(kHuntOffSummarised)),
     {},
     {reloaded + "1 entry of \"DisabledMissions\" in force; no change"}},
    {"reload, settings that cannot be used replaced by their defaults",
     With(huntOffWith + R"("DisabledMessage": 7, "ShowMissionNames": "yes")" + summarised,
          ReloadOf(huntOffWith +
                   R"("DisabledMessage": "This mission has been disabled, but )"
                   R"(you have had it unlocked now!")" +
                   summarised)),
     {},
     {reloaded + "1 entry of \"DisabledMissions\" in force; no change"}},
    {"reload read, its answer failed",
     With(kHuntOff,
          [](ServerTest& t) {
            t.WriteConfig(kRideOffSummarised);
            StandIn::Controller& bob = *ServerTest::AddPlayer({"Bob"}).Controller;
            StandIn::Commands::Console("qv.reload",
                                       reinterpret_cast<APlayerController*>(bob.Object()));
          }),
     Fails(R"(GetAddress("AShooterPlayerController.ClientServerChatDirectMessage"))"),
     {reloaded + "1 entry of \"DisabledMissions\" in force; added \"Ride\"; removed \"Hunt\"; "
                 "\"ShowConfigSummary\" changed",
      "[critical] Failed to reload config! \n " + kBadAlloc}},
    {"load, file missing, config.json.txt beside (and the sample, which goes unnamed)",
     LoadingWithout({"config.json.txt", "config.sample.json"}),
     {},
     {std::string("[critical] Failed to load config from <path>! \n Can't open config.json") +
          kNotRead,
      "[warning] Found \"config.json.txt\" where config.json belongs: rename it to config.json "
      "(Windows hides known extensions)"}},
#if !defined(_WIN32)  // names that differ in letter case only are one file on Windows
    {"load, file missing, two near misses beside",
     LoadingWithout({"config.json.txt", "CONFIG.json"}),
     {},
     {std::string("[critical] Failed to load config from <path>! \n Can't open config.json") +
          kNotRead,
      "[warning] Found \"CONFIG.json\" where config.json belongs: rename it to config.json "
      "(the name is matched letter case too)",
      "[warning] Found \"config.json.txt\" where config.json belongs: rename it to config.json "
      "(Windows hides known extensions)"}},
    {"reload, file missing, a name in another letter case beside",
     ReloadingWithout("Config.JSON"),
     {},
     {"[critical] Failed to reload config! \n Can't open config.json",
      "[warning] Found \"Config.JSON\" where config.json belongs: rename it to config.json "
      "(the name is matched letter case too)"}},
#endif
    {"reload, file missing, only the sample beside",
     ReloadingWithout("config.sample.json"),
     {},
     {"[critical] Failed to reload config! \n Can't open config.json",
      "[warning] Found \"config.sample.json\" where config.json belongs: copy it to "
      "config.json"}},
    {"load, a string in a Windows code page",
     Loading("{\"DisabledMissions\": [\"Caf\xE9\"]}"),
     {},
     {std::string("[critical] Failed to load config from <path>! \n "
                  "[json.exception.parse_error.101] parse error at line 1, column 28: syntax "
                  "error while parsing value - invalid string: ill-formed UTF-8 byte; last "
                  "read: '\"Caf\\xE9\"'") +
      kNotRead}},
    {"unload, hook",
     Unloading(),
     Fails("IHooks.RemoveHook(*"),
     {"[critical] Removing the mission start hook failed: " + kBadAlloc}},
    {"unload, console command",
     Unloading(),
     Fails("ICommands.RemoveConsoleCommand(*"),
     {"[critical] Removing the console command failed: " + kBadAlloc}},
    {"unload, RCON command",
     Unloading(),
     Fails("ICommands.RemoveRconCommand(*", HostFailure::Foreign),
     {"[critical] Removing the RCON command failed: unknown error"}},
    {"unload, console status command",
     Unloading(),
     FailsSecond("ICommands.RemoveConsoleCommand(*"),
     {"[critical] Removing the console status command failed: " + kBadAlloc}},
    {"unload, RCON status command",
     Unloading(),
     FailsSecond("ICommands.RemoveRconCommand(*"),
     {"[critical] Removing the RCON status command failed: " + kBadAlloc}},
    {"status, the answer failed",
     With(kHuntOff, StatusByBob),
     Fails(R"(GetAddress("AShooterPlayerController.ClientServerChatDirectMessage"))"),
     {"[critical] qv.status failed: " + kBadAlloc}},
    {"status, the answer failed for a reason of two lines",
     With(kHuntOff, StatusByBob),
     Fails(R"(GetAddress("AShooterPlayerController.ClientServerChatDirectMessage"))",
           HostFailure::Worded),
     {"[critical] qv.status failed: the host failed\\n[QuestVeto][info] forged"}},
    {"reload, the answer failed for a reason of two lines",
     With(kHuntOff, ReloadMissingByBob),
     Fails(R"(GetAddress("AShooterPlayerController.ClientServerChatDirectMessage"))",
           HostFailure::Worded),
     {"[critical] Failed to reload config! \n Can't open config.json",
      "[critical] qv.reload failed unexpectedly: the host failed\\n[QuestVeto][info] forged"}},
    {"load, the read failed for a reason of two lines",
     Loading(kHuntOff),
     Fails("GetCurrentDir()", HostFailure::Worded),
     {std::string(
          "[critical] Failed to load config! \n the host failed\\n[QuestVeto][info] forged") +
      kNotRead}},
    {"status, the answer failed without a reason",
     With(kHuntOff, StatusByBob),
     Fails(R"(GetAddress("AShooterPlayerController.ClientServerChatDirectMessage"))",
           HostFailure::Foreign),
     {"[critical] qv.status failed: unknown error"}},
    {"reload, file missing",
     With(kHuntOff, ReloadMissingOnServerConsole),
     {},
     {"[critical] Failed to reload config! \n Can't open config.json"}},
    {"reload, the failure's reply failed",
     With(kHuntOff, ReloadMissingByBob),
     Fails(R"(GetAddress("AShooterPlayerController.ClientServerChatDirectMessage"))"),
     {"[critical] Failed to reload config! \n Can't open config.json",
      "[critical] qv.reload failed unexpectedly: " + kBadAlloc}},
    {"reload, the failure's reply failed without a reason",
     With(kHuntOff, ReloadMissingByBob),
     Fails(R"(GetAddress("AShooterPlayerController.ClientServerChatDirectMessage"))",
           HostFailure::Foreign),
     {"[critical] Failed to reload config! \n Can't open config.json",
      "[critical] qv.reload failed unexpectedly"}},
    {"refused start, logged",
     With(kHuntOffLogged, BobStartsHunt),
     {},
     {"[info] Player Bob attempted to start mission: Hunt!"}},
    {"passed-on start, logged",
     With(kHuntOffLogged, BobStartsRide),
     {},
     {"[info] Player Bob started mission: Ride!"}},
    {"ShowMissionNames not a boolean",
     With(huntOffWith + R"("ShowMissionNames": "yes"})", BobStartsRide),
     {},
     {"[warning] Config key \"ShowMissionNames\" cannot be used, the default applies: "
      "[json.exception.type_error.302] type must be boolean, but is string"}},
    {"DisabledMessage not a string",
     With(huntOffWith + R"("DisabledMessage": 1})", BobStartsHunt),
     {},
     {"[warning] Config key \"DisabledMessage\" cannot be used, the default applies: "
      "[json.exception.type_error.302] type must be string, but is number"}},
    {"DisabledMessage rejected by the formatter",
     With(huntOffWith + R"("DisabledMessage": "{}"})", BobStartsHunt),
     {},
     {"[warning] Config key \"DisabledMessage\" cannot be used, the default applies: "
      "argument not found"}},
    {"top level not an object",
     With(R"(["Hunt"])", BobStartsRide),
     {},
     {"[warning] Config key \"ShowMissionNames\" cannot be used, the default applies: "
      "[json.exception.type_error.306] cannot use value() with array"}},
    {"start, controller lookup",
     With(kHuntOff, BobStartsHunt),
     Fails(R"(GetAddress("APrimalCharacter.IsDead"))"),
     {"[warning] Mission start: the controller lookup failed: " + kBadAlloc}},
    {"start, decision",
     With(kHuntOff, BobStartsHunt),
     Fails(R"(GetAddress("UClass.GetDefaultObject"))"),
     {"[warning] Mission start: the decision failed, the start goes on to the game: " + kBadAlloc}},
    {"start, decision, no reason",
     With(kHuntOff, BobStartsHunt),
     Fails(R"(GetAddress("UClass.GetDefaultObject"))", HostFailure::Foreign),
     {"[warning] Mission start: the decision failed, the start goes on to the game"}},
    {"start, notification",
     With(kHuntOff, BobStartsHunt),
     Fails(R"(GetAddress("AShooterPlayerController.ClientServerSOTFNotificationCustom"))"),
     {"[warning] Mission start: the notification failed: " + kBadAlloc}},
    {"start, notification, no reason",
     With(kHuntOff, BobStartsHunt),
     Fails(R"(GetAddress("AShooterPlayerController.ClientServerSOTFNotificationCustom"))",
           HostFailure::Foreign),
     {"[warning] Mission start: the notification failed"}},
    {"start, mission data",
     With(kHuntOff, BobStartsHunt),
     Fails(R"(GetAddress("AMissionType.GetMissionDataForCharacter"))"),
     {"[warning] Mission start: the mission data failed: " + kBadAlloc}},
    {"start, log line",
     With(kHuntOffLogged, BobStartsRide),
     Fails(R"(GetAddress("AShooterPlayerController.GetPlayerCharacterName"))"),
     {"[warning] Mission start: the log line failed: " + kBadAlloc}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.when);
    ASSERT_TRUE(Provoke(*this, row.action, row.failing))
        << "never crossed " << row.failing.crossing;
    std::vector<std::string> expected;
    for (const std::string& line : row.lines) expected.push_back(WithPath(*this, line));
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
  struct StartKind {
    const char* kind;
    bool notifies;
    Act start;
  };
  const StartKind starts[] = {
      {"refused, with a controller", true, BobStartsHunt},
      {"refused, character without a controller", false,
       [](ServerTest& /*test*/) { ServerTest::StartMission(Hunt(), &AddCharacterOfNobody()); }},
      {"refused, dead character", false,
       [](ServerTest& /*test*/) {
         StandIn::Character& bob = AddBob();
         bob.SetDead(true);
         ServerTest::StartMission(Hunt(), &bob);
       }},
      {"refused, no character", false,
       [](ServerTest& /*test*/) { ServerTest::StartMission(Hunt(), nullptr); }},
      {"passed on, with a mission class", false, BobStartsRide},
      {"passed on, no mission class", false,
       [](ServerTest& /*test*/) { ServerTest::StartMission(nullptr, &AddBob()); }},
  };
  for (const Key& key : keys) {
    for (const StartKind& start : starts) {
      SCOPED_TRACE(key.config + ", " + start.kind);
      const std::vector<std::string> once = key.everyStart || start.notifies
                                                ? std::vector<std::string>{key.warning}
                                                : std::vector<std::string>{};
      Fresh(*this, key.config, true);
      start.start(*this);
      EXPECT_EQ(LogLines(), once) << "the first start after the load";
      StandIn::Journal::Start();
      start.start(*this);
      EXPECT_TRUE(LogLines().empty()) << "the second start warned again";
      StandIn::Commands::Console("qv.reload", nullptr);
      StandIn::Journal::Start();
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
      {"no mission class",
       [](ServerTest& /*test*/) { ServerTest::StartMission(nullptr, &AddBob()); }},
      {"no character", [](ServerTest& /*test*/) { ServerTest::StartMission(Hunt(), nullptr); }},
  };
  for (const char* file : files) {
    for (const auto& [kind, start] : starts) {
      SCOPED_TRACE(std::string(file) + ", " + kind);
      Fresh(*this, file, false);
      LoadPlugin();
      StandIn::Journal::Start();
      start(*this);
      EXPECT_TRUE(LogLines().empty());
      EXPECT_EQ(Recorded<StandIn::Journal::GameStart>().size(), 1u);
    }
  }
}

// A start whose mission cannot be looked at or matched, whichever crossing of the decision fails
// (the mission's name, then the entry's text made for the search), goes on to the game unchanged
// with a warning, and is not recorded completed, although the mission is switched off.
TEST_F(LogLinesTest, StartWhoseDecisionFailsReachesTheGame) {
  const char* const crossings[] = {R"(GetAddress("UClass.GetDefaultObject"))",
                                   "GetAddress(mission *", R"(Utf8Decode("Hunt"))",
                                   R"(GetAddress("FMemory.Malloc"))", "FMemory.Malloc(*"};
  for (const char* crossing : crossings) {
    for (const HostFailure how : {HostFailure::BadAlloc, HostFailure::Foreign}) {
      SCOPED_TRACE(crossing);
      uintptr_t result = 1;
      StandIn::MissionClass* hunt = nullptr;
      StandIn::Character* bob = nullptr;
      const Action start = With(kHuntOff, [&](ServerTest& /*test*/) {
        hunt = Hunt();
        bob = &AddBob();
        result = ServerTest::StartMission(hunt, bob);
      });
      ASSERT_TRUE(Provoke(*this, start, Fails(crossing, how)));
      EXPECT_EQ(GameStarts(),
                (std::vector<GameStart>{{World().Dispatcher(), hunt->Class(), bob->Object(), 7}}));
      EXPECT_EQ(result, World().LastGameResult());
      EXPECT_TRUE(Recorded<StandIn::Journal::Notification>().empty());
      EXPECT_TRUE(Recorded<StandIn::Journal::MissionDataWrite>().empty());
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
    ASSERT_TRUE(Provoke(*this, Loading(kHuntOff), Fails("GetLogSinks()", how)));
    EXPECT_TRUE(LogLines().empty());
    EXPECT_TRUE(Matching(Journal(), "GetHooks()").empty());
    EXPECT_TRUE(Matching(Journal(), "GetCommands()").empty());
    EXPECT_TRUE(StandIn::Hooks::Detours("AMissionDispatcher.StartMission").empty());
    EXPECT_TRUE(StandIn::Commands::Names().empty());
  }
}

// Files saved in a Windows code page or as UTF-16, keys holding control characters, bytes that are
// no text at all: Server.log, read as strict UTF-8 (the host's own decoding and encoding give it
// back unchanged only then), still holds every line, each byte that was no UTF-8 escaped.
TEST_F(LogLinesTest, ServerLogStaysValidUtf8WhateverTheFilesHold) {
  const std::string hostile[] = {
      // Windows-1252
      "{\"DisabledMissions\": [\"Caf\xE9\"]}",
      // UTF-16
      std::string("\xFF\xFE{\0\"\0", 6),
      // an overlong form, an encoded surrogate
      "{\"DisabledMissions\": [\"\xC0\xAF\", \"\xED\xA0\x80\"]}",
      // above U+10FFFF
      "{\"DisabledMissions\": [\"\xF4\x90\x80\x80\"]}",
      // keys with a line feed and a C1 control, then a byte that is no text
      "{\"disabledMission\\n\": [], \"disabledMessag\\u0085\": 1} \xE9",
      // the line and paragraph separators, NUL, and a letter beyond ASCII that stays as it is
      std::string("{\"DisabledMissions\": [\"Hunt\\u2028\", \"\\u0000\\u2029\", ") +
          "\"Caf\xC3\xA9\"], \"ShowConfigSummary\": true}",
  };
  Fresh(*this, hostile[0], false);
  LoadPlugin();
  for (const std::string& text : hostile) {
    WriteConfig(text);
    StandIn::Commands::Console("qv.reload", nullptr);
  }
  RemoveConfig();
  WriteBesideConfig("config.json.TXT", hostile[0]);
  StandIn::Commands::Console("qv.reload", nullptr);

  const std::string log = LogFile();
  EXPECT_EQ(HostApi::Tools::Utf8Encode(HostApi::Tools::Utf8Decode(log)), log) << log;
  EXPECT_NE(log.find("last read: '\"Caf\\xE9\"'"), std::string::npos) << log;
  EXPECT_NE(log.find("Config key \"disabledMission\\n\" is not read"), std::string::npos) << log;
  EXPECT_NE(log.find("Config key \"disabledMessag\\u0085\" is not read"), std::string::npos) << log;
  EXPECT_NE(log.find("added \"Hunt\\u2028\", \"\\x00\\u2029\", \"Caf\xC3\xA9\""), std::string::npos)
      << log;
  EXPECT_NE(log.find("Found \"config.json.TXT\""), std::string::npos) << log;
  std::size_t written = 0;
  for (std::size_t at = log.find("[QuestVeto]"); at != std::string::npos;
       at = log.find("[QuestVeto]", at + 1)) {
    ++written;
  }
  EXPECT_EQ(written, LogLines().size()) << "a line was lost";
}

}  // namespace
