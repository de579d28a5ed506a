// The simulated game behind the stand-in host: mission classes with default objects, characters,
// controllers, mission data buffs, RCON connections and the mission dispatcher. Every game
// function of the key table acts on these objects; they hold the game's state (mission data,
// alive or dead, names), and what a plugin hands to the game is in the journal (Journal.h). The
// game finds its objects again from the pointers it hands out: a pointer that is not a live
// object of the expected kind stops the process with a message naming the game function (its
// key) and the pointer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "host/FString.h"
#include "host/GameTypes.h"
#include "host/Platform.h"
#include "standin/Api.h"
#include "standin/GameString.h"
#include "standin/NameTable.h"

namespace StandIn {

using MissionDataValue = std::variant<bool, int32_t, double>;

// A mission data entry of a buff: the latest value written under (tag, entry).
struct MissionDataEntry {
  std::string Tag;    // text of the mission tag FName
  std::string Entry;  // text of the entry FName
  MissionDataValue Value;
};

// A mission's default object as it lies in memory. Plugins reach the two fields through
// GetAddress(object, key); other data lies before and between them, so that a field read at the
// wrong address gives a wrong value instead of the right one by luck.
struct MissionObjectLayout {
  uint64_t Header;
  GameString DisplayName;  // "AMissionType.MissionDisplayName"
  int32_t Flags;
  int32_t Version;  // "AMissionType.MissionVersion"
};

class STANDIN_API MissionClass {
 public:
  MissionClass(const std::string& displayNameUtf8, int32_t version, const std::string& tag);

  UClass* Class() { return reinterpret_cast<UClass*>(this); }
  // The class's default object, as "UClass.GetDefaultObject" answers.
  AMissionType* DefaultObject() { return reinterpret_cast<AMissionType*>(&object_); }
  std::string DisplayName() const;  // UTF-8
  // Replaces the display name (a game heap string inside the default object).
  void SetDisplayName(const std::string& utf8);
  int32_t Version() const { return object_.Version; }
  const std::string& Tag() const { return tag_; }

  FString* DisplayNameField() { return object_.DisplayName.AsFString(); }
  int32_t* VersionField() { return &object_.Version; }

 private:
  std::string tag_;  // first: the class and its default object lie at different addresses
  MissionObjectLayout object_;
};

class STANDIN_API Controller {
 public:
  explicit Controller(const std::string& characterNameUtf8);

  AShooterPlayerController* Object() { return reinterpret_cast<AShooterPlayerController*>(this); }
  std::string CharacterName() const;  // UTF-8
  const WideString& CharacterNameText() const { return characterName_; }

 private:
  WideString characterName_;
};

class STANDIN_API MissionDataBuff {
 public:
  APrimalBuff_MissionData* Object() { return reinterpret_cast<APrimalBuff_MissionData*>(this); }
  // Every entry written, in the order each was first written.
  const std::vector<MissionDataEntry>& Entries() const { return entries_; }
  // The latest value of (tag, entry), or none.
  const MissionDataValue* Value(const std::string& tag, const std::string& entry) const;
  void Write(const std::string& tag, const std::string& entry, MissionDataValue value);

 private:
  std::vector<MissionDataEntry> entries_;
};

class STANDIN_API Character {
 public:
  // `owner`/`instigator` may be null; `withMissionData` gives it a buff.
  Character(Controller* owner, Controller* instigator, bool withMissionData);

  APrimalCharacter* Object() { return reinterpret_cast<APrimalCharacter*>(this); }
  bool Dead() const { return dead_; }
  void SetDead(bool dead) { dead_ = dead; }
  Controller* Owner() const { return owner_; }
  Controller* Instigator() const { return instigator_; }
  // The mission data buff, or null when the character has none.
  MissionDataBuff* MissionData() { return missionData_.get(); }

 private:
  Controller* owner_;
  Controller* instigator_;
  std::unique_ptr<MissionDataBuff> missionData_;
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

class STANDIN_API RconConnection {
 public:
  RCONClientConnection* Object() { return reinterpret_cast<RCONClientConnection*>(this); }
  // A request arriving on this connection; the packet lives as long as the connection.
  RCONPacket* Receive(int32_t requestId, const std::string& body);

 private:
  std::vector<std::unique_ptr<RconPacketLayout>> packets_;
};

// The game world of the running stand-in server; it owns every object above.
class STANDIN_API World {
 public:
  World();
  ~World();
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  MissionClass& AddMission(const std::string& displayNameUtf8, int32_t version,
                           const std::string& tag);
  Controller& AddController(const std::string& characterNameUtf8);
  // A living character; `owner`/`instigator` may be null, or controllers of this world.
  Character& AddCharacter(Controller* owner, Controller* instigator, bool withMissionData);
  RconConnection& AddRconConnection();
  // Closes a connection: it and its packets are gone, and the game functions no longer accept
  // its pointers.
  void RemoveRconConnection(RconConnection& connection);

  // The mission with exactly this display name, or null.
  MissionClass* FindMission(const std::string& displayNameUtf8);

  AMissionDispatcher* Dispatcher() { return reinterpret_cast<AMissionDispatcher*>(&dispatcher_); }
  // The game starts a mission: the call goes through whatever is installed on
  // "AMissionDispatcher.StartMission" and the answer comes back.
  uintptr_t StartMission(UClass* missionClass, APrimalCharacter* character, uintptr_t fourth);
  // What the game's own start function answered the last time it was reached; 0 before. Each
  // answer differs from the one before and has its upper 32 bits in use.
  uintptr_t LastGameResult() const { return lastGameResult_; }
  void SetLastGameResult(uintptr_t result) { lastGameResult_ = result; }

  // The text that "FName.Init" interned for `name`; Fatal for a value it never made.
  std::string NameText(FName name) const;
  NameTable& Names() { return names_; }
  // The text of `name`, which game function `key` received; Fatal for a value that is no name.
  const std::string& NameTextFor(FName name, const char* key) const;

  // The objects behind pointers a game function `key` received; Fatal when there is none.
  MissionClass& MissionOfClass(const void* object, const char* key);
  MissionClass& MissionOfDefaultObject(const void* object, const char* key);
  Controller& ControllerAt(const void* object, const char* key);
  Character& CharacterAt(const void* object, const char* key);
  MissionDataBuff& MissionDataAt(const void* object, const char* key);
  RconConnection& ConnectionAt(const void* object, const char* key);
  void CheckDispatcher(const void* object, const char* key) const;
  // How the journal names `object`: class "Alpha", mission "Alpha" (a default object),
  // controller "Bob", character 1, buff of character 1, rcon 1, dispatcher, null, or its address
  // when it is none of these.
  std::string Describe(const void* object) const;

 private:
  // `controller` itself, checked to be one of this world's, or null.
  Controller* OwnController(Controller* controller);

  uint64_t dispatcher_;
  std::vector<std::unique_ptr<MissionClass>> missions_;
  std::vector<std::unique_ptr<Controller>> controllers_;
  std::vector<std::unique_ptr<Character>> characters_;
  std::vector<std::unique_ptr<RconConnection>> connections_;
  uintptr_t lastGameResult_ = 0;
  NameTable names_;
};

// The world of the running server; Fatal when no server runs.
STANDIN_API World& CurrentWorld();

}  // namespace StandIn
