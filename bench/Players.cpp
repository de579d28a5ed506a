#include "Players.h"

#include "standin/FunctionTable.h"

Stage SetStage(BenchServer& server, const Workload& work) {
  StandIn::World& world = server.World();
  StandIn::MissionClass& mission = world.AddMission(work.MissionName, 3, "FrostWyrm");
  StandIn::Controller& controller = world.AddController("Bob");
  return {mission, world.AddCharacter(&controller, nullptr, true)};
}

Stage LoadPluginOnStage(BenchServer& server, const Workload& work) {
  server.WriteConfig(ConfigText(work.Entries));
  server.LoadPlugin();
  return SetStage(server, work);
}

StartMissionFunction GameOwnStart() {
  return reinterpret_cast<StartMissionFunction>(
      StandIn::FunctionTable::Function("AMissionDispatcher.StartMission"));
}
