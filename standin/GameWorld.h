// The inside of the simulated game behind the stand-in host (its face: World.h and
// GameObjects.h): the layouts plugins reach into, and the world's lookups by pointer. Every game
// function of the key table acts on the world's objects; they hold the game's state (mission data,
// alive or dead, names), and what a plugin hands to the game is in the journal (Journal.h). The
// game finds its objects again from the pointers it hands out: a pointer that is not a live object
// of the expected kind stops the process with a message naming the game function (its key) and the
// pointer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host-bridge/GameTypes.h"
#include "standin/CallText.h"
#include "standin/GameObjects.h"
#include "standin/GameString.h"
#include "standin/NameTable.h"
#include "standin/World.h"

namespace StandIn {

// A mission's default object as it lies in memory. Plugins reach the two fields through
// GetAddress(object, key); other data lies before and between them, so that a field read at the
// wrong address gives a wrong value instead of the right one by luck.
struct MissionClass::DefaultObjectLayout {
  uint64_t Header;
  GameString DisplayName;  // "AMissionType.MissionDisplayName"
  int32_t Flags;
  int32_t Version;  // "AMissionType.MissionVersion"
};

// A request as the host hands it to an RCON command handler: the request id is the second
// 32-bit field.
struct RconConnection::PacketLayout {
  int32_t Size;
  int32_t RequestId;
  int32_t Type;
  GameString Body;
};

// What a world owns: every object it made, in the order it made them.
struct World::Objects {
  uint64_t Dispatcher;
  std::vector<std::unique_ptr<MissionClass>> Missions;
  std::vector<std::unique_ptr<Controller>> Controllers;
  std::vector<std::unique_ptr<Character>> Characters;
  std::vector<std::unique_ptr<RconConnection>> Connections;
  uintptr_t LastGameResult = 0;
  NameTable Names;
};

// The world of the running server as the game functions and the journal see it; it names the
// journal's objects and names while the server runs.
class STANDIN_API GameWorld final : public World, public CallText::Namer {
 public:
  GameWorld();
  ~GameWorld();

  // One object at a time, for the stand-in's own tests and for Populate.
  MissionClass& AddMission(const std::string& displayNameUtf8, int32_t version,
                           const std::string& tag);
  Controller& AddController(const std::string& characterNameUtf8);
  // A living character; `owner`/`instigator` may be null, or controllers of this world.
  Character& AddCharacter(Controller* owner, Controller* instigator, bool withMissionData);

  void SetLastGameResult(uintptr_t result) { objects_->LastGameResult = result; }
  NameTable& Names() { return objects_->Names; }
  // The text of `name`, which game function `key` received; Fatal for a value that is no name.
  const std::string& NameTextFor(FName name, const char* key) const;

  // The objects behind pointers a game function `key` received; Fatal when there is none.
  MissionClass& MissionOfClass(const void* object, const char* key);
  MissionClass& MissionOfDefaultObject(const void* object, const char* key);
  Controller& ControllerAt(const void* object, const char* key);
  Character& CharacterAt(const void* object, const char* key);
  MissionDataBuff& MissionDataAt(const void* object, const char* key);
  RconConnection& ConnectionAt(const void* object, const char* key);
  // The fields of the mission whose default object is `object`, as GetAddress locates them.
  FString* DisplayNameFieldAt(const void* object, const char* key);
  int32_t* VersionFieldAt(const void* object, const char* key);
  // The character name of the controller `object`, as the game keeps it.
  const WideString& CharacterNameAt(const void* object, const char* key);
  void CheckDispatcher(const void* object, const char* key) const;
  // How the journal names `object`: class "Alpha", mission "Alpha" (a default object),
  // controller "Bob", character 1, buff of character 1, rcon 1, dispatcher, null, or its address
  // when it is none of these.
  std::string Describe(const void* object) const override;
  const std::string* InternedText(FName name) const override;
};

// The world of the running server; Fatal when no server runs.
STANDIN_API GameWorld& CurrentWorld();

}  // namespace StandIn
