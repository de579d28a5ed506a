// Every game function and field plugins use, each reached by its key through GetAddress at every
// call and called with exactly the arguments the game function takes. Nothing is cached.
#pragma once

#include <cstdint>

#include "host/Color.h"
#include "host/FString.h"
#include "host/GameTypes.h"

// "UClass.GetDefaultObject"(cls, true): a mission class's default object.
AMissionType* GetDefaultMission(UClass* missionClass);
// "APrimalCharacter.IsDead"(character).
bool IsDead(APrimalCharacter* character);
// "APawn.GetOwnerController"(character); null when none.
AShooterPlayerController* GetOwnerController(APrimalCharacter* character);
// "AActor.GetInstigatorController"(character); null when none.
AShooterPlayerController* GetInstigatorController(APrimalCharacter* character);
// "AShooterPlayerController.GetPlayerCharacterName"; the caller owns the returned buffer.
FString GetPlayerCharacterName(AShooterPlayerController* controller);
// The "AMissionType.MissionDisplayName" field, read in place; the game owns it.
const FString& MissionDisplayName(AMissionType* mission);
// The "AMissionType.MissionVersion" field.
int32_t MissionVersion(AMissionType* mission);
// "AMissionType.GetMissionTag"(mission, zeroed result storage).
FName GetMissionTag(AMissionType* mission);
// "AMissionType.GetMissionDataForCharacter"(character, true); null when the character has none.
APrimalBuff_MissionData* GetMissionDataForCharacter(APrimalCharacter* character);
// "APrimalBuff_MissionData.SetMissionData_Bool"(buff, tag, entry, value).
void SetMissionDataBool(APrimalBuff_MissionData* buff, FName tag, FName entry, bool value);
// "APrimalBuff_MissionData.SetMissionData_Int"(buff, tag, entry, value).
void SetMissionDataInt(APrimalBuff_MissionData* buff, FName tag, FName entry, int32_t value);
// "APrimalBuff_MissionData.SetMissionData_Double"(buff, tag, entry, value).
void SetMissionDataDouble(APrimalBuff_MissionData* buff, FName tag, FName entry, double value);
// "AActor.ForceReplicateNow"(actor, false, false).
void ForceReplicateNow(AActor* actor);
// "FName.Init"(name, text, 0, 1, true, -1): the engine name of narrow text.
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
