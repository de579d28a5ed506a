// The cast of the mission start benchmarks: the plugin's configuration from a workload, one
// mission named by it, and a living player with controller and mission data.
#pragma once

#include <cstdint>

#include "BenchServer.h"
#include "Workload.h"
#include "standin/World.h"

struct Stage {
  StandIn::MissionClass& Mission;  // displays the workload's mission name
  StandIn::Character& Character;   // living, with an owner controller and mission data
};

// Adds the workload's mission and a player to the world of `server`.
Stage SetStage(BenchServer& server, const Workload& work);
// Writes the workload's entries as the plugin's configuration, loads the plugin (throws
// std::runtime_error when it cannot) and sets the stage.
Stage LoadPluginOnStage(BenchServer& server, const Workload& work);

// The game's own start function as the function table holds it, whatever is hooked on it.
StartMissionFunction GameOwnStart();
