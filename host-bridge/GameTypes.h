// Game objects as plugins see them: opaque pointers owned by the game, reached only through
// functions and fields that the host looks up by key (see HostApi.h).
#pragma once

#include <cstdint>

struct UObject;
struct UClass;
struct UWorld;
struct AActor;
struct APawn;
struct APrimalCharacter;
struct APlayerController;
struct AShooterPlayerController;
struct AMissionType;
struct AMissionDispatcher;
struct APrimalBuff_MissionData;
struct RCONClientConnection;
// The request handed to an RCON command handler: its first 32-bit field is followed by the
// 32-bit request id. Plugins read nothing else of it.
struct RCONPacket;

// An engine name: an 8-byte value made by "FName.Init" or returned by the game, passed by value
// and never looked into.
struct FName {
  uint64_t Value = 0;
};
static_assert(sizeof(FName) == 8, "FName is an 8-byte value");

// The game's own "AMissionDispatcher.StartMission" and every detour placed on it.
using StartMissionFunction = uintptr_t (*)(AMissionDispatcher* dispatcher, UClass* missionClass,
                                           APrimalCharacter* character, uintptr_t fourth);
