// Every game function and field plugins use, each reached by its key through GetAddress at every
// call and called with exactly the arguments the game function takes. Nothing is cached.
#pragma once

#include <cstdint>

#include "host-bridge/Color.h"
#include "host-bridge/FString.h"
#include "host-bridge/GameTypes.h"

AMissionType* GetDefaultMission(UClass* missionClass);
bool IsDead(APrimalCharacter* character);
// Null when the character has none.
AShooterPlayerController* GetOwnerController(APrimalCharacter* character);
AShooterPlayerController* GetInstigatorController(APrimalCharacter* character);
// The caller owns the returned buffer.
FString GetPlayerCharacterName(AShooterPlayerController* controller);
// Read in place; the game owns it.
const FString& MissionDisplayName(AMissionType* mission);
int32_t MissionVersion(AMissionType* mission);
FName GetMissionTag(AMissionType* mission);
// Null when the character has none.
APrimalBuff_MissionData* GetMissionDataForCharacter(APrimalCharacter* character);
void SetMissionDataBool(APrimalBuff_MissionData* buff, FName tag, FName entry, bool value);
void SetMissionDataInt(APrimalBuff_MissionData* buff, FName tag, FName entry, int32_t value);
void SetMissionDataDouble(APrimalBuff_MissionData* buff, FName tag, FName entry, double value);
void ForceReplicateNow(AActor* actor);
// The engine name of narrow text.
FName MakeName(const char* text);

// The controller of a living character: its owner controller, else its instigator controller;
// null for a null or dead character.
AShooterPlayerController* ControllerOfCharacter(APrimalCharacter* character);

// On-screen notification to one player, with `message` kept and released by the caller.
// The two numbers go to the game unchanged.
void ShowNotification(AShooterPlayerController* controller, const FString& message, Color8 color,
                      float first, float second);
// Chat message to one player, `text` through the narrow formatted construction; nothing at all
// for a null controller.
void SendDirectChat(AShooterPlayerController* controller, const char* text, Color8 color);
// The same with `message` as it is, kept and released by the caller.
void SendDirectChat(AShooterPlayerController* controller, const FString& message, Color8 color);
// Reply to an RCON request under the request's id: narrow `text` as FString(const char*), or
// `message` as it is.
void ReplyRcon(RCONClientConnection* connection, RCONPacket* request, const char* text);
void ReplyRcon(RCONClientConnection* connection, RCONPacket* request, const FString& message);
