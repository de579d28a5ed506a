// The stand-in's game world: built from a plan of missions and players, found again by their
// names, and the running server's world, where a test starts a mission.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host-bridge/GameTypes.h"
#include "standin/Api.h"
#include "standin/GameObjects.h"

namespace StandIn {

// A world as it starts: its missions and its players, in order.
struct MissionPlan {
  std::string Name;  // display name, UTF-8
  int32_t Version = 1;
  std::string Tag;
};

struct PlayerPlan {
  std::string Name;  // the character name of the player's controller, UTF-8
  bool Alive = true;
  bool Controller = true;   // without one the character belongs to nobody
  bool MissionData = true;  // the character carries a mission data buff
  bool Instigated = false;  // the controller instigated the character rather than owns it
  // Another player of the plan whose controller instigated the character (besides its owner, if
  // it has one); empty: none. Not with Instigated.
  std::string InstigatedBy{};
};

struct WorldPlan {
  std::vector<MissionPlan> Missions;
  std::vector<PlayerPlan> Players;
};

// What a plan became in the world, found again by the plan's names.
struct Player {
  std::string Name;
  StandIn::Controller* Controller;  // null for a character that belongs to nobody
  StandIn::Character* Character;
};

struct Mission {
  std::string Name;
  MissionClass* Class;
};

class STANDIN_API Roster {
 public:
  // In plan order.
  const std::vector<Player>& All() const { return players_; }
  const std::vector<Mission>& Missions() const { return missions_; }
  // By exact name; null when there is none (the first of that name when several share it).
  const Player* FindPlayer(const std::string& name) const;
  // The player whose controller is the game object `controller`; null when there is none.
  const Player* FindController(const void* controller) const;
  const Mission* FindMission(const std::string& name) const;

 private:
  friend class World;

  std::vector<Player> players_;
  std::vector<Mission> missions_;
};

// The game world of the running server; it owns every object of GameObjects.h it made.
class STANDIN_API World {
 public:
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  // Adds the missions and players of `plan`, in its order; Fatal for a player instigated by a
  // name that is no player of the plan with a controller.
  Roster Populate(const WorldPlan& plan);

  // An RCON client connects; the connection stays open until it is removed.
  RconConnection& AddRconConnection();
  // Closes a connection: it and its packets are gone, and the game functions no longer accept
  // its pointers.
  void RemoveRconConnection(RconConnection& connection);

  // The mission with exactly this display name, or null.
  MissionClass* FindMission(const std::string& displayNameUtf8);

  AMissionDispatcher* Dispatcher();
  // The game starts a mission: the call goes through whatever is installed on
  // "AMissionDispatcher.StartMission" and the answer comes back.
  uintptr_t StartMission(UClass* missionClass, APrimalCharacter* character, uintptr_t fourth);
  // What the game's own start function answered the last time it was reached; 0 before. Each
  // answer differs from the one before and has its upper 32 bits in use.
  uintptr_t LastGameResult() const;

  // The text that "FName.Init" interned for `name`; Fatal for a value it never made.
  std::string NameText(FName name) const;

 protected:
  // Only the running server makes its world, a GameWorld (GameWorld.h), which alone sees the
  // objects it owns.
  World();
  ~World();

  struct Objects;
  std::unique_ptr<Objects> objects_;
};

// The world of the running server; Fatal when no server runs.
STANDIN_API World& RunningWorld();

}  // namespace StandIn
