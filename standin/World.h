// The simulated game behind the stand-in host: mission classes with default objects, characters,
// controllers, mission data buffs, RCON connections and the mission dispatcher. Every game
// function of the key table acts on these objects; they hold the game's state (mission data,
// alive or dead, names), and what a plugin hands to the game is in the journal (Journal.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "host/Color.h"
#include "host/GameTypes.h"
#include "host/Platform.h"
#include "standin/Api.h"

namespace StandIn {

// A mission data entry of a buff: the latest value written under (tag, entry).
struct MissionDataEntry {
  std::string Tag;    // text of the mission tag FName
  std::string Entry;  // text of the entry FName
  std::variant<bool, int32_t, double> Value;
};

class Controller;
class MissionDataBuff;

class STANDIN_API MissionClass {
 public:
  virtual ~MissionClass() = default;
  virtual UClass* Class() = 0;
  // The class's default object, as "UClass.GetDefaultObject" answers.
  virtual AMissionType* DefaultObject() = 0;
  virtual std::string DisplayName() const = 0;  // UTF-8
  // Replaces the display name (a game heap string inside the default object).
  virtual void SetDisplayName(const std::string& utf8) = 0;
  virtual int32_t Version() const = 0;
  virtual std::string Tag() const = 0;
};

class STANDIN_API Controller {
 public:
  virtual ~Controller() = default;
  virtual AShooterPlayerController* Object() = 0;
  virtual std::string CharacterName() const = 0;  // UTF-8
};

class STANDIN_API MissionDataBuff {
 public:
  virtual ~MissionDataBuff() = default;
  virtual APrimalBuff_MissionData* Object() = 0;
  // Every entry written, in the order each was first written.
  virtual const std::vector<MissionDataEntry>& Entries() const = 0;
  // The latest value of (tag, entry), or none.
  virtual const std::variant<bool, int32_t, double>* Value(const std::string& tag,
                                                           const std::string& entry) const = 0;
};

class STANDIN_API Character {
 public:
  virtual ~Character() = default;
  virtual APrimalCharacter* Object() = 0;
  virtual bool Dead() const = 0;
  virtual void SetDead(bool dead) = 0;
  // The owner and instigator controllers, either may be null.
  virtual Controller* Owner() const = 0;
  virtual Controller* Instigator() const = 0;
  // The mission data buff, or null when the character has none.
  virtual MissionDataBuff* MissionData() = 0;
};

class STANDIN_API RconConnection {
 public:
  virtual ~RconConnection() = default;
  virtual RCONClientConnection* Object() = 0;
  // A request arriving on this connection; the packet lives as long as the connection.
  virtual RCONPacket* Receive(int32_t requestId, const std::string& body) = 0;
};

// The game world of the running stand-in server; it owns every object above.
class STANDIN_API World {
 public:
  virtual ~World() = default;

  virtual MissionClass& AddMission(const std::string& displayNameUtf8, int32_t version,
                                   const std::string& tag) = 0;
  virtual Controller& AddController(const std::string& characterNameUtf8) = 0;
  // A living character; `owner`/`instigator` may be null; `withMissionData` gives it a buff.
  virtual Character& AddCharacter(Controller* owner, Controller* instigator,
                                  bool withMissionData) = 0;
  virtual RconConnection& AddRconConnection() = 0;
  // Closes a connection: it and its packets are gone, and the game functions no
  // longer accept its pointers.
  virtual void RemoveRconConnection(RconConnection& connection) = 0;

  // The mission with exactly this display name, or null.
  virtual MissionClass* FindMission(const std::string& displayNameUtf8) = 0;

  virtual AMissionDispatcher* Dispatcher() = 0;
  // The game starts a mission: the call goes through whatever is installed on
  // "AMissionDispatcher.StartMission" and the answer comes back.
  virtual uintptr_t StartMission(UClass* missionClass, APrimalCharacter* character,
                                 uintptr_t fourth) = 0;
  // What the game's own start function answered the last time it was reached; 0 before. Each
  // answer differs from the one before and has its upper 32 bits in use.
  virtual uintptr_t LastGameResult() const = 0;

  // The text that "FName.Init" interned for `name`; Fatal for a value it never made.
  virtual std::string NameText(FName name) const = 0;
};

// The world of the running server; Fatal when no server runs.
STANDIN_API World& CurrentWorld();

}  // namespace StandIn
