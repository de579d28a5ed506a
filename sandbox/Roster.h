// The players and missions of the running stand-in world, made from a world file and found again
// by the names the console uses.
#pragma once

#include <string>
#include <vector>

#include "sandbox/WorldFile.h"
#include "standin/World.h"

namespace Sandbox {

struct Player {
  std::string Name;
  StandIn::Controller* Controller;  // null for a character that belongs to nobody
  StandIn::Character* Character;
};

struct Mission {
  std::string Name;
  StandIn::MissionClass* Class;
};

class Roster {
 public:
  // Adds the missions and players of `plan` to the running server's world.
  explicit Roster(const WorldPlan& plan);

  // In world file order.
  const std::vector<Player>& All() const { return players_; }
  const std::vector<Mission>& Missions() const { return missions_; }
  // By exact name; null when there is none.
  const Player* FindPlayer(const std::string& name) const;
  // The player whose controller is the game object `controller`; null when there is none.
  const Player* FindController(const void* controller) const;
  const Mission* FindMission(const std::string& name) const;

 private:
  std::vector<Player> players_;
  std::vector<Mission> missions_;
};

}  // namespace Sandbox
