// The plugin's place in the game's mission start: every start passes through StartMissionDetour,
// which refuses switched-off missions and hands every other start on to the game unchanged.
#pragma once

#include <cstdint>

#include "host-bridge/GameTypes.h"

// The game's own "AMissionDispatcher.StartMission", written by the hook registry at install.
extern StartMissionFunction GameStartMission;

// Refuses the start (0, the game's function not called) when the mission is switched off;
// otherwise returns what the game's own function returns for the same four arguments, as it does
// for every start outside the plugin's load (a hook the host kept after the unload).
// Nothing thrown inside it reaches the game.
uintptr_t StartMissionDetour(AMissionDispatcher* dispatcher, UClass* missionClass,
                             APrimalCharacter* character, uintptr_t fourth);

// Places StartMissionDetour on "AMissionDispatcher.StartMission" / takes it off again. Each
// answers the host's answer: false when it refused the hook or had none to take off.
bool InstallMissionStartHook();
bool RemoveMissionStartHook();
