#include "Players.h"

#include "standin/Registries.h"

Stage SetStage(BenchServer& server, const Workload& work) {
  const StandIn::Roster cast =
      server.World().Populate({{{work.MissionName, 3, "FrostWyrm"}}, {{"Bob"}}});
  return {*cast.Missions()[0].Class, *cast.All()[0].Character};
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
