// The game functions and fields behind GetAddress, with the exact signatures the game has. Each
// finds its objects in the running world (Fatal for a pointer that is none of the right kind),
// acts on them, and records what it was handed, so a wrong argument shows as a wrong recording
// or a Fatal rather than a crash somewhere else. The game supports only the calling forms its
// callers are meant to use: a flag or constant with another value is a Fatal too.
#include <type_traits>
#include <utility>

#include <fmt/format.h>

#include "host-bridge/FString.h"
#include "standin/CallText.h"
#include "standin/Fatal.h"
#include "standin/FunctionTable.h"
#include "standin/GameFunctions.h"
#include "standin/GameWorld.h"
#include "standin/JournalViews.h"

namespace StandIn {
namespace {

// What the game's own start returns: high bits set, so a result cut to 32 bits shows.
constexpr uintptr_t kStartResultBase = 0x5EED000000000000ULL;

// Fatal with "<key>: <what>" unless `holds`; the message is formatted only then.
template <typename... Args>
void Require(bool holds, const char* key, fmt::format_string<Args...> what, Args&&... args) {
  if (!holds) Fatal(std::string(key) + ": " + fmt::format(what, std::forward<Args>(args)...));
}

void RequireStorage(const void* storage, const char* key) {
  Require(storage != nullptr, key, "null result storage");
}

// An engine string handed to `key` must be sound (GameString.h).
void RequireHandedText(const FString* text, const char* key) {
  Require(text != nullptr, key, "null string");
  const std::string flaw = UnsoundBecause(*text);
  Require(flaw.empty(), key, "{}", flaw);
}

// Fills empty result storage with a fresh game heap copy of `text`, which the caller then owns.
void HandOver(const WideString& text, FString& result, const char* key) {
  Require(result.Chars == nullptr && result.Count == 0 && result.Capacity == 0, key,
          "result storage is not an empty string");
  GameString(text).HandOverTo(result);
}

AShooterPlayerController* ObjectOf(Controller* controller) {
  return controller != nullptr ? controller->Object() : nullptr;
}

UObject* GetDefaultObject(UClass* missionClass, bool createIfNeeded) {
  constexpr const char* key = "UClass.GetDefaultObject";
  CallText::Record(key, missionClass, createIfNeeded);
  MissionClass& mission = CurrentWorld().MissionOfClass(missionClass, key);
  Require(createIfNeeded, key, "the create flag must be true");
  return reinterpret_cast<UObject*>(mission.DefaultObject());
}

bool IsDead(APrimalCharacter* character) {
  CallText::Record("APrimalCharacter.IsDead", character);
  return CurrentWorld().CharacterAt(character, "APrimalCharacter.IsDead").Dead();
}

AShooterPlayerController* GetOwnerController(APrimalCharacter* character) {
  CallText::Record("APawn.GetOwnerController", character);
  return ObjectOf(CurrentWorld().CharacterAt(character, "APawn.GetOwnerController").Owner());
}

AShooterPlayerController* GetInstigatorController(APrimalCharacter* character) {
  CallText::Record("AActor.GetInstigatorController", character);
  return ObjectOf(
      CurrentWorld().CharacterAt(character, "AActor.GetInstigatorController").Instigator());
}

FString* GetPlayerCharacterName(AShooterPlayerController* controller, FString* result) {
  constexpr const char* key = "AShooterPlayerController.GetPlayerCharacterName";
  CallText::Record(key, controller);
  const WideString& name = CurrentWorld().CharacterNameAt(controller, key);
  RequireStorage(result, key);
  HandOver(name, *result, key);
  return result;
}

FName* GetMissionTag(AMissionType* mission, FName* result) {
  constexpr const char* key = "AMissionType.GetMissionTag";
  CallText::Record(key, mission);
  GameWorld& world = CurrentWorld();
  MissionClass& own = world.MissionOfDefaultObject(mission, key);
  RequireStorage(result, key);
  Require(result->Value == 0, key, "result storage is not zeroed");
  *result = world.Names().Intern(own.Tag());
  return result;
}

APrimalBuff_MissionData* GetMissionDataForCharacter(APrimalCharacter* character, bool create) {
  constexpr const char* key = "AMissionType.GetMissionDataForCharacter";
  CallText::Record(key, character, create);
  Character& own = CurrentWorld().CharacterAt(character, key);
  Require(create, key, "the flag must be true");
  MissionDataBuff* buff = own.MissionData();
  return buff != nullptr ? buff->Object() : nullptr;
}

void SetMissionData(const char* key, APrimalBuff_MissionData* buff, FName tag, FName entry,
                    MissionDataValue value) {
  std::visit([&](auto written) { CallText::Record(key, buff, tag, entry, written); }, value);
  GameWorld& world = CurrentWorld();
  MissionDataBuff& own = world.MissionDataAt(buff, key);
  own.Write(world.NameTextFor(tag, key), world.NameTextFor(entry, key), value);
}

void SetMissionDataBool(APrimalBuff_MissionData* buff, FName tag, FName entry, bool value) {
  SetMissionData(Journal::MissionDataWrite::kBoolKey, buff, tag, entry, value);
}

void SetMissionDataInt(APrimalBuff_MissionData* buff, FName tag, FName entry, int32_t value) {
  SetMissionData(Journal::MissionDataWrite::kIntKey, buff, tag, entry, value);
}

void SetMissionDataDouble(APrimalBuff_MissionData* buff, FName tag, FName entry, double value) {
  SetMissionData(Journal::MissionDataWrite::kDoubleKey, buff, tag, entry, value);
}

// Mission data buffs are this game's only replicated actors.
void ForceReplicateNow(AActor* actor, bool first, bool second) {
  constexpr const char* key = Journal::Replication::kKey;
  CallText::Record(key, actor, first, second);
  CurrentWorld().MissionDataAt(actor, key);
  Require(!first && !second, key, "the flags must be false, false; got {}, {}", first, second);
}

void InitName(FName* name, const char* text, int32_t number, int32_t findType, bool splitName,
              int32_t hardcodeIndex) {
  constexpr const char* key = "FName.Init";
  CallText::Record(key, text, number, findType, splitName, hardcodeIndex);
  Require(name != nullptr, key, "null name");
  Require(text != nullptr, key, "null text");
  Require(number == 0 && findType == 1 && splitName && hardcodeIndex == -1, key,
          "expects (0, 1, true, -1) after the text; got ({}, {}, {}, {})", number, findType,
          splitName, hardcodeIndex);
  *name = CurrentWorld().Names().Intern(text);
}

void ShowNotification(AShooterPlayerController* controller, FString* message, LinearColor* color,
                      float first, float second, void* texture, void* sound) {
  constexpr const char* key = Journal::Notification::kKey;
  CallText::Record(key, controller, message, color, first, second, texture, sound);
  CurrentWorld().ControllerAt(controller, key);
  RequireHandedText(message, key);
  Require(color != nullptr, key, "null colour");
}

}  // namespace

void SendChat(AShooterPlayerController* controller, FString* message, LinearColor* color,
              bool flag) {
  constexpr const char* key = Journal::ChatMessage::kKey;
  CallText::Record(key, controller, message, color, flag);
  CurrentWorld().ControllerAt(controller, key);
  RequireHandedText(message, key);
  Require(color != nullptr, key, "null colour");
}

void SendRconMessage(RCONClientConnection* connection, int32_t requestId, int32_t type,
                     FString* message) {
  constexpr const char* key = Journal::RconReply::kKey;
  CallText::Record(key, connection, requestId, type, message);
  CurrentWorld().ConnectionAt(connection, key);
  RequireHandedText(message, key);
}

namespace {

// The game's own mission start: its result is distinctive.
uintptr_t StartMission(AMissionDispatcher* dispatcher, UClass* missionClass,
                       APrimalCharacter* character, uintptr_t fourth) {
  constexpr const char* key = Journal::GameStart::kKey;
  CallText::Record(key, dispatcher, missionClass, character, fourth);
  GameWorld& world = CurrentWorld();
  world.CheckDispatcher(dispatcher, key);
  if (missionClass != nullptr) world.MissionOfClass(missionClass, key);
  if (character != nullptr) world.CharacterAt(character, key);
  const uintptr_t result =
      world.LastGameResult() == 0 ? kStartResultBase + 1 : world.LastGameResult() + 1;
  world.SetLastGameResult(result);
  return result;
}
static_assert(std::is_same_v<decltype(&StartMission), StartMissionFunction>,
              "the game's own start has the form its detours have");

uint64_t DisplayNameField(const void* object) {
  return reinterpret_cast<uint64_t>(
      CurrentWorld().DisplayNameFieldAt(object, "AMissionType.MissionDisplayName"));
}

uint64_t VersionField(const void* object) {
  return reinterpret_cast<uint64_t>(
      CurrentWorld().VersionFieldAt(object, "AMissionType.MissionVersion"));
}

template <typename Function>
void Add(const char* key, Function* entry) {
  FunctionTable::AddFunction(key, reinterpret_cast<void*>(entry));
}

void RegisterGameFunctions() {
  Add("UClass.GetDefaultObject", &GetDefaultObject);
  Add("APrimalCharacter.IsDead", &IsDead);
  Add("APawn.GetOwnerController", &GetOwnerController);
  Add("AActor.GetInstigatorController", &GetInstigatorController);
  Add("AShooterPlayerController.GetPlayerCharacterName", &GetPlayerCharacterName);
  Add("AMissionType.GetMissionTag", &GetMissionTag);
  Add("AMissionType.GetMissionDataForCharacter", &GetMissionDataForCharacter);
  Add(Journal::MissionDataWrite::kBoolKey, &SetMissionDataBool);
  Add(Journal::MissionDataWrite::kIntKey, &SetMissionDataInt);
  Add(Journal::MissionDataWrite::kDoubleKey, &SetMissionDataDouble);
  Add(Journal::Replication::kKey, &ForceReplicateNow);
  Add("FName.Init", &InitName);
  Add(Journal::Notification::kKey, &ShowNotification);
  Add(Journal::ChatMessage::kKey, &SendChat);
  Add(Journal::RconReply::kKey, &SendRconMessage);
  Add(Journal::GameStart::kKey, &StartMission);
  FunctionTable::AddField("AMissionType.MissionDisplayName", &DisplayNameField);
  FunctionTable::AddField("AMissionType.MissionVersion", &VersionField);
}

// The game's functions exist from the moment the host library is loaded.
const bool gameFunctionsRegistered = (RegisterGameFunctions(), true);

}  // namespace
}  // namespace StandIn
