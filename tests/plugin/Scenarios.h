// Everything the plugin does, one scenario each, on a fresh server: load with a good, missing or
// broken configuration, unload, refused and passed-on mission starts, "qv.reload" over the
// console and RCON with each outcome, and the exported query asked by a second plugin. The trace
// tests state what each makes cross between the plugin and the host; the fault tests run each
// with a failure injected at every crossing in turn, once and from there on.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "standin/GameObjects.h"
#include "support/Configs.h"
#include "support/ServerFixture.h"

struct Scenario {
  std::string Name;
  std::string Config;  // the file the server starts with; empty: none
  bool Loaded;         // the plugin is loaded before the scenario's action
  // The mission the configuration in force switches off before and after the action ("": none);
  // null when the plugin is not there to ask afterwards.
  const char* OffBefore;
  const char* OffAfter;
  // A reload in the scenario finds a file it reads: whoever gave it is owed an answer.
  bool ReloadReadsFile;
  std::function<void(ServerTest&)> Act;
};

const std::vector<Scenario>& Scenarios();

// A scenario's starting state on the server `test` runs: `config` written (empty: none), the
// plugin loaded when `loaded`, the missions "Hunt" (version 7) and "Ride".
void Arrange(ServerTest& test, const std::string& config, bool loaded);
// The missions Arrange puts in the world.
StandIn::MissionClass* Hunt();
StandIn::MissionClass* Ride();

// "Bob" with a living character with mission data; `missionData` false: none.
StandIn::Character& AddBob(bool missionData = true);
// A living character with mission data that belongs to nobody.
StandIn::Character& AddCharacterOfNobody();
