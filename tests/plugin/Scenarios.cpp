#include "plugin/Scenarios.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "standin/StandIn.h"

const char* const kHuntOff = R"({"DisabledMissions": ["Hunt"]})";
const char* const kHuntOffLogged = R"({"DisabledMissions": ["Hunt"], "ShowMissionNames": true})";
const char* const kRideOff = R"({"DisabledMissions": ["Ride"]})";
const char* const kBroken = R"({"DisabledMissions": ["Hunt")";
const char* const kFreeLookupFails = R"(fault: GetAddress("FMemory.Free") fails)";

namespace {

void StartHunt(ScenarioTest& test, StandIn::Character* character) {
  test.Start("Hunt", character);
}

void ReloadOnConsole(ScenarioTest& test) {
  test.Bob = &test.Game().AddController("Bob");
  StandIn::Commands::Console("qv.reload", reinterpret_cast<APlayerController*>(test.Bob->Object()));
}

void ReloadOverRcon(ScenarioTest& test) {
  test.Connection = &test.Game().AddRconConnection();
  StandIn::Commands::Rcon(*test.Connection, 7, "qv.reload");
}

}  // namespace

const std::vector<Scenario>& Scenarios() {
  static const std::vector<Scenario> scenarios = {
      {"load, configuration good", kHuntOff, false, "", "Hunt", [](ScenarioTest& t) { t.Load(); }},
      {"load, configuration missing", "", false, "", "", [](ScenarioTest& t) { t.Load(); }},
      {"load, configuration broken", kBroken, false, "", "", [](ScenarioTest& t) { t.Load(); }},
      {"unload", kHuntOff, true, nullptr, nullptr, [](ScenarioTest& t) { t.Unload(); }},
      {"refused, living character with controller, logged", kHuntOffLogged, true, "Hunt", "Hunt",
       [](ScenarioTest& t) { StartHunt(t, &t.AddBob()); }},
      {"refused, living character with controller", kHuntOff, true, "Hunt", "Hunt",
       [](ScenarioTest& t) { StartHunt(t, &t.AddBob()); }},
      {"refused, dead character, logged", kHuntOffLogged, true, "Hunt", "Hunt",
       [](ScenarioTest& t) {
         t.AddBob().SetDead(true);
         StartHunt(t, t.BobsCharacter);
       }},
      {"refused, no controller, logged", kHuntOffLogged, true, "Hunt", "Hunt",
       [](ScenarioTest& t) { StartHunt(t, &t.Game().AddCharacter(nullptr, nullptr, true)); }},
      {"refused, no character, logged", kHuntOffLogged, true, "Hunt", "Hunt",
       [](ScenarioTest& t) { StartHunt(t, nullptr); }},
      {"refused, no mission data, logged", kHuntOffLogged, true, "Hunt", "Hunt",
       [](ScenarioTest& t) { StartHunt(t, &t.AddBob(false)); }},
      {"passed on, logged", kHuntOffLogged, true, "Hunt", "Hunt",
       [](ScenarioTest& t) { t.Start("Ride", &t.AddBob()); }},
      {"passed on", kHuntOff, true, "Hunt", "Hunt",
       [](ScenarioTest& t) { t.Start("Ride", &t.AddBob()); }},
      {"passed on, no mission class, logged", kHuntOffLogged, true, "Hunt", "Hunt",
       [](ScenarioTest& t) { t.Start("", &t.AddBob()); }},
      {"reload on the console, read", kHuntOff, true, "Hunt", "Ride",
       [](ScenarioTest& t) {
         t.Write(kRideOff);
         ReloadOnConsole(t);
       }},
      {"reload on the console, missing", kHuntOff, true, "Hunt", "Hunt",
       [](ScenarioTest& t) {
         t.Remove();
         ReloadOnConsole(t);
       }},
      {"reload on the console, broken", kHuntOff, true, "Hunt", "Hunt",
       [](ScenarioTest& t) {
         t.Write(kBroken);
         ReloadOnConsole(t);
       }},
      {"reload over RCON, read", kHuntOff, true, "Hunt", "Ride",
       [](ScenarioTest& t) {
         t.Write(kRideOff);
         ReloadOverRcon(t);
       }},
      {"reload over RCON, missing", kHuntOff, true, "Hunt", "Hunt",
       [](ScenarioTest& t) {
         t.Remove();
         ReloadOverRcon(t);
       }},
      {"reload over RCON, unreadable", kHuntOff, true, "Hunt", "Hunt",
       [](ScenarioTest& t) {
         t.MakeUnreadable();
         ReloadOverRcon(t);
       }},
      {"query from a second plugin", kHuntOff, true, "Hunt", "Hunt",
       [](ScenarioTest& t) {
         t.AskByName("Great hunt");
         t.AskByMission(t.Game().FindMission("Ride")->DefaultObject());
       }},
  };
  return scenarios;
}

void ScenarioTest::Prepare(const Scenario& scenario) {
  TearDown();
  SetUp();
  Arrange(scenario);
}

void ScenarioTest::Arrange(const Scenario& scenario) {
  if (!scenario.Config.empty()) WriteConfig(scenario.Config);
  if (scenario.Loaded) LoadPlugin();
  Game().Populate({{{"Hunt", 7, "HuntTag"}, {"Ride", 3, "RideTag"}}, {}});
}

void ScenarioTest::TearDown() {
  client_.reset();
  Bob = nullptr;
  BobsCharacter = nullptr;
  Connection = nullptr;
  PluginTest::TearDown();
}

void ScenarioTest::MakeUnreadable() {
  RemoveConfig();
  std::filesystem::create_directories(ConfigPath());
}

void ScenarioTest::WriteBeside(const std::string& name, const std::string& text) {
  const std::filesystem::path directory = std::filesystem::u8path(ConfigPath()).parent_path();
  std::filesystem::create_directories(directory);
  std::ofstream(directory / name, std::ios::binary) << text;
}

StandIn::Character& ScenarioTest::AddBob(bool missionData) {
  const StandIn::Player bob = Game().Populate({{}, {{"Bob", true, true, missionData}}}).All()[0];
  Bob = bob.Controller;
  BobsCharacter = bob.Character;
  return *BobsCharacter;
}

uintptr_t ScenarioTest::Start(const std::string& mission, StandIn::Character* character) {
  StandIn::MissionClass* found = mission.empty() ? nullptr : Game().FindMission(mission);
  return Game().StartMission(found != nullptr ? found->Class() : nullptr,
                             character != nullptr ? character->Object() : nullptr, 7);
}

int ScenarioTest::AskByName(const std::string& name) {
  using Ask = int (*)(const char*);
  return reinterpret_cast<Ask>(Client().Symbol("ClientAskByName"))(name.c_str());
}

int ScenarioTest::AskByMission(AMissionType* mission) {
  using Ask = int (*)(AMissionType*);
  return reinterpret_cast<Ask>(Client().Symbol("ClientAskByMission"))(mission);
}

StandIn::PluginLibrary& ScenarioTest::Client() {
  if (!client_) client_ = StandIn::PluginLibrary::Load(QV_CLIENT_PLUGIN_PATH);
  return *client_;
}

void ReleaseBlocksLeftSince(const std::vector<StandIn::GameHeap::Block>& before) {
  for (const StandIn::GameHeap::Block& block : StandIn::GameHeap::LiveBlockList()) {
    const bool old = std::any_of(before.begin(), before.end(),
                                 [&](const auto& kept) { return kept.Address == block.Address; });
    if (!old) StandIn::GameHeap::Release(const_cast<void*>(block.Address));
  }
}
