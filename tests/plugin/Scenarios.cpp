#include "plugin/Scenarios.h"

#include "plugin/SecondPlugin.h"
#include "standin/Registries.h"
#include "standin/World.h"

namespace {

void StartHunt(StandIn::Character* character) {
  ServerTest::StartMission(Hunt(), character);
}

void ReloadOnConsole() {
  StandIn::Controller& bob = *ServerTest::AddPlayer({"Bob"}).Controller;
  StandIn::Commands::Console("qv.reload", reinterpret_cast<APlayerController*>(bob.Object()));
}

void ReloadOverRcon() {
  StandIn::Commands::Rcon(ServerTest::World().AddRconConnection(), 7, "qv.reload");
}

}  // namespace

const std::vector<Scenario>& Scenarios() {
  static const std::vector<Scenario> scenarios = {
      {"load, configuration good", kHuntOff, false, "", "Hunt", false,
       [](ServerTest& t) { t.LoadPlugin(); }},
      {"load, configuration missing", "", false, "", "", false,
       [](ServerTest& t) { t.LoadPlugin(); }},
      {"load, configuration broken", kBroken, false, "", "", false,
       [](ServerTest& t) { t.LoadPlugin(); }},
      {"unload", kHuntOff, true, nullptr, nullptr, false, [](ServerTest& t) { t.UnloadPlugin(); }},
      {"refused, living character with controller, logged", kHuntOffLogged, true, "Hunt", "Hunt",
       false, [](ServerTest&) { StartHunt(&AddBob()); }},
      {"refused, living character with controller", kHuntOff, true, "Hunt", "Hunt", false,
       [](ServerTest&) { StartHunt(&AddBob()); }},
      {"refused, dead character, logged", kHuntOffLogged, true, "Hunt", "Hunt", false,
       [](ServerTest&) {
         StandIn::Character& bob = AddBob();
         bob.SetDead(true);
         StartHunt(&bob);
       }},
      {"refused, no controller, logged", kHuntOffLogged, true, "Hunt", "Hunt", false,
       [](ServerTest&) { StartHunt(&AddCharacterOfNobody()); }},
      {"refused, no character, logged", kHuntOffLogged, true, "Hunt", "Hunt", false,
       [](ServerTest&) { StartHunt(nullptr); }},
      {"refused, no mission data, logged", kHuntOffLogged, true, "Hunt", "Hunt", false,
       [](ServerTest&) { StartHunt(&AddBob(false)); }},
      {"passed on, logged", kHuntOffLogged, true, "Hunt", "Hunt", false,
       [](ServerTest&) { ServerTest::StartMission(Ride(), &AddBob()); }},
      {"passed on", kHuntOff, true, "Hunt", "Hunt", false,
       [](ServerTest&) { ServerTest::StartMission(Ride(), &AddBob()); }},
      {"passed on, no mission class, logged", kHuntOffLogged, true, "Hunt", "Hunt", false,
       [](ServerTest&) { ServerTest::StartMission(nullptr, &AddBob()); }},
      {"reload on the console, read", kHuntOff, true, "Hunt", "Ride", true,
       [](ServerTest& t) {
         t.WriteConfig(kRideOff);
         ReloadOnConsole();
       }},
      {"reload on the console, missing", kHuntOff, true, "Hunt", "Hunt", false,
       [](ServerTest& t) {
         t.RemoveConfig();
         ReloadOnConsole();
       }},
      {"reload on the console, broken", kHuntOff, true, "Hunt", "Hunt", false,
       [](ServerTest& t) {
         t.WriteConfig(kBroken);
         ReloadOnConsole();
       }},
      {"reload over RCON, read", kHuntOff, true, "Hunt", "Ride", true,
       [](ServerTest& t) {
         t.WriteConfig(kRideOffSummarised);
         ReloadOverRcon();
       }},
      {"reload over RCON, missing", kHuntOff, true, "Hunt", "Hunt", false,
       [](ServerTest& t) {
         t.RemoveConfig();
         ReloadOverRcon();
       }},
      {"reload over RCON, unreadable", kHuntOff, true, "Hunt", "Hunt", false,
       [](ServerTest& t) {
         t.MakeConfigUnreadable();
         ReloadOverRcon();
       }},
      {"query from a second plugin", kHuntOff, true, "Hunt", "Hunt", false,
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
  return *ServerTest::AddPlayer({"Bob", true, true, missionData}).Character;
}

StandIn::Character& AddCharacterOfNobody() {
  return *ServerTest::AddPlayer({"Nobody", true, false}).Character;
}

StandIn::MissionClass* Hunt() {
  return ServerTest::World().FindMission("Hunt");
}

StandIn::MissionClass* Ride() {
  return ServerTest::World().FindMission("Ride");
}
