#include "sandbox/Roster.h"

namespace Sandbox {

Roster::Roster(const WorldPlan& plan) {
  StandIn::World& world = StandIn::CurrentWorld();
  for (const MissionPlan& mission : plan.Missions) {
    missions_.push_back(
        {mission.Name, &world.AddMission(mission.Name, mission.Version, mission.Tag)});
  }
  for (const PlayerPlan& player : plan.Players) {
    StandIn::Controller* controller =
        player.Controller ? &world.AddController(player.Name) : nullptr;
    StandIn::Character& character = world.AddCharacter(controller, nullptr, player.MissionData);
    character.SetDead(!player.Alive);
    players_.push_back({player.Name, controller, &character});
  }
}

const Player* Roster::FindPlayer(const std::string& name) const {
  for (const Player& player : players_) {
    if (player.Name == name) return &player;
  }
  return nullptr;
}

const Player* Roster::FindController(const void* controller) const {
  for (const Player& player : players_) {
    if (player.Controller != nullptr && player.Controller->Object() == controller) return &player;
  }
  return nullptr;
}

const Mission* Roster::FindMission(const std::string& name) const {
  for (const Mission& mission : missions_) {
    if (mission.Name == name) return &mission;
  }
  return nullptr;
}

}  // namespace Sandbox
