// Everything the plugin does, one scenario each, on a fresh server: load with a good, missing or
// broken configuration, unload, refused and passed-on mission starts, "qv.reload" over the
// console and RCON with each outcome, and the exported query asked by a second plugin. The trace
// tests state what each makes cross between the plugin and the host; the fault tests run each
// with a failure injected at every crossing in turn.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "standin/GameObjects.h"
#include "support/ServerFixture.h"

// "Hunt" is switched off by the configuration a scenario starts with, "Ride" by the one a reload
// reads; neither by a missing or broken configuration.
extern const char* const kHuntOff;
extern const char* const kHuntOffLogged;
extern const char* const kRideOff;
// kRideOff with the summary of each read asked for.
extern const char* const kRideOffSummarised;
extern const char* const kBroken;

struct Scenario {
  std::string Name;
  std::string Config;  // the file the server starts with; empty: none
  bool Loaded;         // the plugin is loaded before the scenario's action
  // The mission the configuration in force switches off before and after the action ("": none);
  // null when the plugin is not there to ask afterwards.
  const char* OffBefore;
  const char* OffAfter;
  std::function<void(ServerTest&)> Act;
};

const std::vector<Scenario>& Scenarios();

// A scenario's starting state on the server `test` runs: `config` written (empty: none), the
// plugin loaded when `loaded`, the missions "Hunt" (version 7) and "Ride".
void Arrange(ServerTest& test, const std::string& config, bool loaded);

// "Bob" with a living character with mission data; `missionData` false: none.
StandIn::Character& AddBob(bool missionData = true);
// A living character with mission data that belongs to nobody.
StandIn::Character& AddCharacterOfNobody();
// The game starts `mission` ("": no mission class) for `character` (null: none), fourth
// argument 7.
uintptr_t Start(const std::string& mission, StandIn::Character* character);
