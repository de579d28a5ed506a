#include "plugin/Scenarios.h"

#include "plugin/SecondPlugin.h"
#include "standin/Registries.h"
#include "standin/World.h"

const char* const kHuntOff = R"({"DisabledMissions": ["Hunt"]})";
const char* const kHuntOffLogged = R"({"DisabledMissions": ["Hunt"], "ShowMissionNames": true})";
const char* const kRideOff = R"({"DisabledMissions": ["Ride"]})";
const char* const kRideOffSummarised =
    R"({"DisabledMissions": ["Ride"], "ShowConfigSummary": true})";
const char* const kBroken = R"({"DisabledMissions": ["Hunt")";

namespace {

void StartHunt(StandIn::Character* character) {
  Start("Hunt", character);
}

void ReloadOnConsole() {
  StandIn::Controller& bob = ServerTest::AddPlayer("Bob");
  StandIn::Commands::Console("qv.reload", reinterpret_cast<APlayerController*>(bob.Object()));
}

void ReloadOverRcon() {
  StandIn::Commands::Rcon(ServerTest::World().AddRconConnection(), 7, "qv.reload");
}

}  // namespace

const std::vector<Scenario>& Scenarios() {
  static const std::vector<Scenario> scenarios = {
      {"load, configuration good", kHuntOff, false, "", "Hunt",
       [](ServerTest& t) { t.LoadPlugin(); }},
      {"load, configuration missing", "", false, "", "", [](ServerTest& t) { t.LoadPlugin(); }},
      {"load, configuration broken", kBroken, false, "", "", [](ServerTest& t) { t.LoadPlugin(); }},
      {"unload", kHuntOff, true, nullptr, nullptr, [](ServerTest& t) { t.UnloadPlugin(); }},
      {"refused, living character with controller, logged", kHuntOffLogged, true, "Hunt", "Hunt",
       [](ServerTest&) { StartHunt(&AddBob()); }},
      {"refused, living character with controller", kHuntOff, true, "Hunt", "Hunt",
       [](ServerTest&) { StartHunt(&AddBob()); }},
      {"refused, dead character, logged", kHuntOffLogged, true, "Hunt", "Hunt",
       [](ServerTest&) {
         StandIn::Character& bob = AddBob();
         bob.SetDead(true);
         StartHunt(&bob);
       }},
      {"refused, no controller, logged", kHuntOffLogged, true, "Hunt", "Hunt",
       [](ServerTest&) { StartHunt(&AddCharacterOfNobody()); }},
      {"refused, no character, logged", kHuntOffLogged, true, "Hunt", "Hunt",
       [](ServerTest&) { StartHunt(nullptr); }},
      {"refused, no mission data, logged", kHuntOffLogged, true, "Hunt", "Hunt",
       [](ServerTest&) { StartHunt(&AddBob(false)); }},
      {"passed on, logged", kHuntOffLogged, true, "Hunt", "Hunt",
       [](ServerTest&) { Start("Ride", &AddBob()); }},
      {"passed on", kHuntOff, true, "Hunt", "Hunt", [](ServerTest&) { Start("Ride", &AddBob()); }},
      {"passed on, no mission class, logged", kHuntOffLogged, true, "Hunt", "Hunt",
       [](ServerTest&) { Start("", &AddBob()); }},
      {"reload on the console, read", kHuntOff, true, "Hunt", "Ride",
       [](ServerTest& t) {
         t.WriteConfig(kRideOff);
         ReloadOnConsole();
       }},
      {"reload on the console, missing", kHuntOff, true, "Hunt", "Hunt",
       [](ServerTest& t) {
         t.RemoveConfig();
         ReloadOnConsole();
       }},
      {"reload on the console, broken", kHuntOff, true, "Hunt", "Hunt",
       [](ServerTest& t) {
         t.WriteConfig(kBroken);
         ReloadOnConsole();
       }},
      {"reload over RCON, read", kHuntOff, true, "Hunt", "Ride",
       [](ServerTest& t) {
         t.WriteConfig(kRideOffSummarised);
         ReloadOverRcon();
       }},
      {"reload over RCON, missing", kHuntOff, true, "Hunt", "Hunt",
       [](ServerTest& t) {
         t.RemoveConfig();
         ReloadOverRcon();
       }},
      {"reload over RCON, unreadable", kHuntOff, true, "Hunt", "Hunt",
       [](ServerTest& t) {
         t.MakeConfigUnreadable();
         ReloadOverRcon();
       }},
      {"query from a second plugin", kHuntOff, true, "Hunt", "Hunt",
       [](ServerTest& /*test*/) {
         const SecondPlugin client;
         client.Ask("Great hunt");
         client.Ask(ServerTest::World().FindMission("Ride")->DefaultObject());
       }},
  };
  return scenarios;
}

void Arrange(ServerTest& test, const std::string& config, bool loaded) {
  if (!config.empty()) test.WriteConfig(config);
  if (loaded) test.LoadPlugin();
  ServerTest::World().Populate({{{"Hunt", 7, "HuntTag"}, {"Ride", 3, "RideTag"}}, {}});
}

StandIn::Character& AddBob(bool missionData) {
  return *ServerTest::World().Populate({{}, {{"Bob", true, true, missionData}}}).All()[0].Character;
}

StandIn::Character& AddCharacterOfNobody() {
  return *ServerTest::World().Populate({{}, {{"Nobody", true, false}}}).All()[0].Character;
}

uintptr_t Start(const std::string& mission, StandIn::Character* character) {
  StandIn::MissionClass* found =
      mission.empty() ? nullptr : ServerTest::World().FindMission(mission);
  return ServerTest::World().StartMission(found != nullptr ? found->Class() : nullptr,
                                          character != nullptr ? character->Object() : nullptr, 7);
}
