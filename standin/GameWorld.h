// The world as the game functions see it: the concrete objects behind World.h, found again from
// the pointers the game hands out. A pointer that is not a live object of the expected kind
// stops the process with a message naming the game function (its key) and the pointer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "host/FString.h"
#include "standin/GameString.h"
#include "standin/NameTable.h"
#include "standin/World.h"

namespace StandIn {

// The game's own "AMissionDispatcher.StartMission" and every detour placed on it.
using StartMissionFunction = uintptr_t (*)(AMissionDispatcher* dispatcher, UClass* missionClass,
                                           APrimalCharacter* character, uintptr_t fourth);

// A mission's default object as it lies in memory. Plugins reach the two fields through
// GetAddress(object, key); other data lies before and between them, so that a field read at the
// wrong address gives a wrong value instead of the right one by luck.
struct MissionObjectLayout {
  uint64_t Header;
  GameString DisplayName;  // "AMissionType.MissionDisplayName"
  int32_t Flags;
  int32_t Version;  // "AMissionType.MissionVersion"
};

class GameMission final : public MissionClass {
 public:
  GameMission(const std::string& displayNameUtf8, int32_t version, const std::string& tag);

  UClass* Class() override { return reinterpret_cast<UClass*>(this); }
  AMissionType* DefaultObject() override { return reinterpret_cast<AMissionType*>(&object_); }
  std::string DisplayName() const override;
  void SetDisplayName(const std::string& utf8) override;
  int32_t Version() const override { return object_.Version; }
  std::string Tag() const override { return tag_; }

  FString* DisplayNameField() { return object_.DisplayName.AsFString(); }
  int32_t* VersionField() { return &object_.Version; }

 private:
  MissionObjectLayout object_;
  std::string tag_;
};

class GameController final : public Controller {
 public:
  explicit GameController(const std::string& characterNameUtf8);

  AShooterPlayerController* Object() override {
    return reinterpret_cast<AShooterPlayerController*>(this);
  }
  std::string CharacterName() const override;

  const WideString& CharacterNameText() const { return characterName_; }

 private:
  WideString characterName_;
};

using MissionDataValue = std::variant<bool, int32_t, double>;

class GameMissionData final : public MissionDataBuff {
 public:
  APrimalBuff_MissionData* Object() override {
    return reinterpret_cast<APrimalBuff_MissionData*>(this);
  }
  const std::vector<MissionDataEntry>& Entries() const override { return entries_; }
  const MissionDataValue* Value(const std::string& tag, const std::string& entry) const override;

  void Write(const std::string& tag, const std::string& entry, MissionDataValue value);

 private:
  std::vector<MissionDataEntry> entries_;
};

class GameCharacter final : public Character {
 public:
  GameCharacter(GameController* owner, GameController* instigator, bool withMissionData);

  APrimalCharacter* Object() override { return reinterpret_cast<APrimalCharacter*>(this); }
  bool Dead() const override { return dead_; }
  void SetDead(bool dead) override { dead_ = dead; }
  GameController* Owner() const override { return owner_; }
  GameController* Instigator() const override { return instigator_; }
  GameMissionData* MissionData() override { return missionData_.get(); }

 private:
  GameController* owner_;
  GameController* instigator_;
  std::unique_ptr<GameMissionData> missionData_;
  bool dead_ = false;
};

// A request as the host hands it to an RCON command handler: the request id is the second
// 32-bit field.
struct RconPacketLayout {
  int32_t Size;
  int32_t RequestId;
  int32_t Type;
  GameString Body;
};

class GameRconConnection final : public RconConnection {
 public:
  RCONClientConnection* Object() override { return reinterpret_cast<RCONClientConnection*>(this); }
  RCONPacket* Receive(int32_t requestId, const std::string& body) override;

 private:
  std::vector<std::unique_ptr<RconPacketLayout>> packets_;
};

class GameWorld final : public World {
 public:
  GameWorld();

  MissionClass& AddMission(const std::string& displayNameUtf8, int32_t version,
                           const std::string& tag) override;
  Controller& AddController(const std::string& characterNameUtf8) override;
  Character& AddCharacter(Controller* owner, Controller* instigator, bool withMissionData) override;
  RconConnection& AddRconConnection() override;
  void RemoveRconConnection(RconConnection& connection) override;
  MissionClass* FindMission(const std::string& displayNameUtf8) override;
  AMissionDispatcher* Dispatcher() override {
    return reinterpret_cast<AMissionDispatcher*>(&dispatcher_);
  }
  uintptr_t StartMission(UClass* missionClass, APrimalCharacter* character,
                         uintptr_t fourth) override;
  uintptr_t LastGameResult() const override { return lastGameResult_; }
  std::string NameText(FName name) const override;

  // The objects behind pointers a game function `key` received; Fatal when there is none.
  GameMission& MissionOfClass(const void* object, const char* key);
  GameMission& MissionOfDefaultObject(const void* object, const char* key);
  GameController& ControllerAt(const void* object, const char* key);
  GameCharacter& CharacterAt(const void* object, const char* key);
  GameMissionData& MissionDataAt(const void* object, const char* key);
  GameRconConnection& ConnectionAt(const void* object, const char* key);
  void CheckDispatcher(const void* object, const char* key) const;
  // How the journal names `object`: class "Alpha", mission "Alpha" (a default object),
  // controller "Bob", character 1, buff of character 1, rcon 1, dispatcher, null, or its address
  // when it is none of these.
  std::string Describe(const void* object) const;

  NameTable& Names() { return names_; }
  // The text of `name`, which game function `key` received; Fatal for a value that is no name.
  const std::string& NameTextFor(FName name, const char* key) const;
  void SetLastGameResult(uintptr_t result) { lastGameResult_ = result; }

 private:
  GameController* OwnController(Controller* controller);

  uint64_t dispatcher_;
  std::vector<std::unique_ptr<GameMission>> missions_;
  std::vector<std::unique_ptr<GameController>> controllers_;
  std::vector<std::unique_ptr<GameCharacter>> characters_;
  std::vector<std::unique_ptr<GameRconConnection>> connections_;
  uintptr_t lastGameResult_ = 0;
  NameTable names_;
};

// The running server's world with its game-side access; Fatal when no server runs.
GameWorld& RunningWorld();

}  // namespace StandIn
