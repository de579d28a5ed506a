// The simulated game behind the stand-in host: mission classes with default objects, characters,
// controllers, mission data buffs, RCON connections and the mission dispatcher. Every game
// function of the key table acts on these objects, and everything a plugin hands to the game is
// recorded here so that tests and the sandbox can show what a player would see.
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

// An on-screen notification as "ClientServerSOTFNotificationCustom" received it.
struct Notification {
  std::string Text;  // UTF-8 of the message
  LinearColor Color;
  float First;
  float Second;
  const void* Texture;
  const void* Sound;
};

// A chat message as "ClientServerChatDirectMessage" received it.
struct ChatMessage {
  std::string Text;  // UTF-8
  LinearColor Color;
  bool Flag;
};

// An RCON reply as "RCONClientConnection.SendMessageW" received it.
struct RconReply {
  int32_t RequestId;
  int32_t Type;
  std::string Text;  // UTF-8
};

// One call of a "SetMissionData_*" function, in call order.
struct MissionDataWrite {
  std::string Tag;    // text of the mission tag FName
  std::string Entry;  // text of the entry FName
  std::variant<bool, int32_t, double> Value;
};

// One call that reached the game's own "AMissionDispatcher.StartMission".
struct GameStart {
  AMissionDispatcher* Dispatcher;
  UClass* MissionClass;
  APrimalCharacter* Character;
  uintptr_t Fourth;
  uintptr_t Result;  // what the game returned
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
  virtual void SetCharacterName(const std::string& utf8) = 0;
  virtual const std::vector<Notification>& Notifications() const = 0;
  virtual const std::vector<ChatMessage>& Chat() const = 0;
};

class STANDIN_API MissionDataBuff {
 public:
  virtual ~MissionDataBuff() = default;
  virtual APrimalBuff_MissionData* Object() = 0;
  virtual const std::vector<MissionDataWrite>& Writes() const = 0;
  // The latest value of (tag, entry), or none.
  virtual const std::variant<bool, int32_t, double>* Value(const std::string& tag,
                                                           const std::string& entry) const = 0;
  // Calls of "AActor.ForceReplicateNow" on this buff.
  virtual int Replications() const = 0;
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
  virtual const std::vector<RconReply>& Replies() const = 0;
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
  // Closes a connection: it, its packets and its replies are gone, and the game functions no
  // longer accept its pointers.
  virtual void RemoveRconConnection(RconConnection& connection) = 0;

  // The mission with exactly this display name, or null.
  virtual MissionClass* FindMission(const std::string& displayNameUtf8) = 0;

  virtual AMissionDispatcher* Dispatcher() = 0;
  // The game starts a mission: the call goes through whatever is installed on
  // "AMissionDispatcher.StartMission" and the answer comes back.
  virtual uintptr_t StartMission(UClass* missionClass, APrimalCharacter* character,
                                 uintptr_t fourth) = 0;
  // Calls that reached the game's own start function, in order.
  virtual const std::vector<GameStart>& GameStarts() const = 0;

  // The text that "FName.Init" interned for `name`; Fatal for a value it never made.
  virtual std::string NameText(FName name) const = 0;
};

// The world of the running server; Fatal when no server runs.
STANDIN_API World& CurrentWorld();

}  // namespace StandIn
