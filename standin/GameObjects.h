// The game's objects as the stand-in's world makes them (missions, controllers, characters with
// their mission data, RCON connections), each standing for the game type its Object() answers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "host-bridge/FString.h"
#include "host-bridge/GameTypes.h"
#include "standin/Api.h"

namespace StandIn {

using MissionDataValue = std::variant<bool, int32_t, double>;

// A mission data entry of a buff: the latest value written under (tag, entry).
struct MissionDataEntry {
  std::string Tag;    // text of the mission tag FName
  std::string Entry;  // text of the entry FName
  MissionDataValue Value;
};

class STANDIN_API MissionClass {
 public:
  MissionClass(const std::string& displayNameUtf8, int32_t version, const std::string& tag);
  ~MissionClass();
  MissionClass(const MissionClass&) = delete;
  MissionClass& operator=(const MissionClass&) = delete;

  UClass* Class() { return reinterpret_cast<UClass*>(this); }
  // The class's default object, as "UClass.GetDefaultObject" answers.
  AMissionType* DefaultObject();
  std::string DisplayName() const;  // UTF-8
  // Replaces the display name (a game heap string inside the default object).
  void SetDisplayName(const std::string& utf8);
  int32_t Version() const;
  const std::string& Tag() const { return tag_; }

 private:
  friend class GameWorld;  // locates the default object's fields for GetAddress
  struct DefaultObjectLayout;

  std::string tag_;
  std::unique_ptr<DefaultObjectLayout> object_;
};

class STANDIN_API Controller {
 public:
  explicit Controller(const std::string& characterNameUtf8);

  AShooterPlayerController* Object() { return reinterpret_cast<AShooterPlayerController*>(this); }
  std::string CharacterName() const;  // UTF-8

 private:
  friend class GameWorld;  // hands the name to the game as it keeps it

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

class STANDIN_API RconConnection {
 public:
  RconConnection();
  ~RconConnection();
  RconConnection(const RconConnection&) = delete;
  RconConnection& operator=(const RconConnection&) = delete;

  RCONClientConnection* Object() { return reinterpret_cast<RCONClientConnection*>(this); }
  // A request arriving on this connection; the packet lives as long as the connection.
  RCONPacket* Receive(int32_t requestId, const std::string& body);

 private:
  struct PacketLayout;

  std::vector<std::unique_ptr<PacketLayout>> packets_;
};

}  // namespace StandIn
