#include "host-bridge/GameCalls.h"

#include "host-bridge/GameFunction.h"

AMissionType* GetDefaultMission(UClass* missionClass) {
  UObject* object =
      GameFunction<UObject*(UClass*, bool)>("UClass.GetDefaultObject")(missionClass, true);
  return reinterpret_cast<AMissionType*>(object);
}

bool IsDead(APrimalCharacter* character) {
  return GameFunction<bool(APrimalCharacter*)>("APrimalCharacter.IsDead")(character);
}

AShooterPlayerController* GetOwnerController(APrimalCharacter* character) {
  return GameFunction<AShooterPlayerController*(APrimalCharacter*)>("APawn.GetOwnerController")(
      character);
}

AShooterPlayerController* GetInstigatorController(APrimalCharacter* character) {
  return GameFunction<AShooterPlayerController*(APrimalCharacter*)>(
      "AActor.GetInstigatorController")(character);
}

FString GetPlayerCharacterName(AShooterPlayerController* controller) {
  FString name;  // the game fills the empty storage; the buffer is then ours
  GameFunction<FString*(AShooterPlayerController*, FString*)>(
      "AShooterPlayerController.GetPlayerCharacterName")(controller, &name);
  return name;
}

const FString& MissionDisplayName(AMissionType* mission) {
  return *GameField<const FString>(mission, "AMissionType.MissionDisplayName");
}

int32_t MissionVersion(AMissionType* mission) {
  return *GameField<const int32_t>(mission, "AMissionType.MissionVersion");
}

FName GetMissionTag(AMissionType* mission) {
  FName tag;  // zeroed storage for the result
  GameFunction<FName*(AMissionType*, FName*)>("AMissionType.GetMissionTag")(mission, &tag);
  return tag;
}

APrimalBuff_MissionData* GetMissionDataForCharacter(APrimalCharacter* character) {
  return GameFunction<APrimalBuff_MissionData*(APrimalCharacter*, bool)>(
      "AMissionType.GetMissionDataForCharacter")(character, true);
}

void SetMissionDataBool(APrimalBuff_MissionData* buff, FName tag, FName entry, bool value) {
  GameFunction<void(APrimalBuff_MissionData*, FName, FName, bool)>(
      "APrimalBuff_MissionData.SetMissionData_Bool")(buff, tag, entry, value);
}

void SetMissionDataInt(APrimalBuff_MissionData* buff, FName tag, FName entry, int32_t value) {
  GameFunction<void(APrimalBuff_MissionData*, FName, FName, int32_t)>(
      "APrimalBuff_MissionData.SetMissionData_Int")(buff, tag, entry, value);
}

void SetMissionDataDouble(APrimalBuff_MissionData* buff, FName tag, FName entry, double value) {
  GameFunction<void(APrimalBuff_MissionData*, FName, FName, double)>(
      "APrimalBuff_MissionData.SetMissionData_Double")(buff, tag, entry, value);
}

void ForceReplicateNow(AActor* actor) {
  GameFunction<void(AActor*, bool, bool)>("AActor.ForceReplicateNow")(actor, false, false);
}

FName MakeName(const char* text) {
  FName name;
  GameFunction<void(FName*, const char*, int32_t, int32_t, bool, int32_t)>("FName.Init")(
      &name, text, 0, 1, true, -1);
  return name;
}

AShooterPlayerController* ControllerOfCharacter(APrimalCharacter* character) {
  if (character == nullptr || IsDead(character)) return nullptr;
  if (AShooterPlayerController* owner = GetOwnerController(character)) return owner;
  return GetInstigatorController(character);
}
