// Everything the plugin does, one scenario each, on a fresh server: load with a good, missing or
// broken configuration, unload, refused and passed-on mission starts, "qv.reload" over the
// console and RCON with each outcome, and the exported query asked by a second plugin. The trace
// tests state what each makes cross between the plugin and the host; the fault tests run each
// with a failure injected at every crossing in turn.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "plugin/PluginHarness.h"
#include "standin/StandIn.h"

// "Hunt" is switched off by the configuration a scenario starts with, "Ride" by the one a reload
// reads; neither by a missing or broken configuration.
extern const char* const kHuntOff;
extern const char* const kHuntOffLogged;
extern const char* const kRideOff;
extern const char* const kBroken;

class ScenarioTest;

struct Scenario {
  std::string Name;
  std::string Config;  // the file the server starts with; empty: none
  bool Loaded;         // the plugin is loaded before the scenario's action
  // The mission the configuration in force switches off before and after the action ("": none);
  // null when the plugin is not there to ask afterwards.
  const char* OffBefore;
  const char* OffAfter;
  std::function<void(ScenarioTest&)> Act;
};

const std::vector<Scenario>& Scenarios();

// The one fault that may cost a block: without the game's free, a destructor has no way to give
// its buffer back, and it must not throw.
extern const char* const kFreeLookupFails;
// Gives the game heap back every block live now that was not in `before`: what a run under
// kFreeLookupFails could not give back, so that the ledger can go on counting.
void ReleaseBlocksLeftSince(const std::vector<StandIn::GameHeap::Block>& before);

// What a scenario's action reaches; state it builds stays for the checks afterwards.
class ScenarioTest : public PluginTest {
 public:
  // A fresh server in the scenario's starting state: its file, the plugin loaded if it says so,
  // the missions "Hunt" (version 7) and "Ride".
  void Prepare(const Scenario& scenario);
  // The same on the server already started.
  void Arrange(const Scenario& scenario);
  void TearDown() override;

  StandIn::World& Game() { return World(); }
  void Load() { LoadPlugin(); }
  void Unload() { UnloadPlugin(); }
  void Write(const std::string& config) { WriteConfig(config); }
  void Remove() { RemoveConfig(); }
  // The configuration path holds a directory: the file cannot be read.
  void MakeUnreadable();
  // Writes `text` to the file `name` in the directory of config.json.
  void WriteBeside(const std::string& name, const std::string& text);
  bool IsDisabled(const std::string& name) { return Disabled(name); }

  // "Bob" with a living character 1 with mission data; `missionData` false: none.
  StandIn::Character& AddBob(bool missionData = true);
  // The game starts `mission` for `character` (null: none), fourth argument 7.
  uintptr_t Start(const std::string& mission, StandIn::Character* character);

  // A second plugin asks the query by name and by mission object; 1 switched off, 0 not.
  int AskByName(const std::string& name);
  int AskByMission(AMissionType* mission);

  StandIn::Controller* Bob = nullptr;
  StandIn::Character* BobsCharacter = nullptr;
  StandIn::RconConnection* Connection = nullptr;

 private:
  StandIn::PluginLibrary& Client();  // loaded at its first question

  std::unique_ptr<StandIn::PluginLibrary> client_;
};
