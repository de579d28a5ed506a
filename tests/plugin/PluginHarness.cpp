#include "plugin/PluginHarness.h"

#include <algorithm>

#include "plugin/QuestVetoClient.h"
#include "standin/StandIn.h"

namespace {

using NameQuery = bool (*)(const FString&);
using MissionQuery = bool (*)(AMissionType*);

}  // namespace

void PluginTest::LoadWith(const std::string& config) {
  WriteConfig(config);
  LoadPlugin();
}

bool PluginTest::Disabled(const std::string& displayName) {
  return Disabled(FString::FromUtf8(displayName));
}

bool PluginTest::Disabled(const FString& displayName) {
  auto query = reinterpret_cast<NameQuery>(PluginSymbol(QuestVetoClient::kByDisplayName.Itanium));
  return query != nullptr && query(displayName);
}

bool PluginTest::Disabled(AMissionType* mission) {
  auto query = reinterpret_cast<MissionQuery>(PluginSymbol(QuestVetoClient::kByMission.Itanium));
  return query != nullptr && query(mission);
}

bool ReloadRegistered() {
  const std::vector<std::string> names = StandIn::Commands::Names();
  return std::find(names.begin(), names.end(), "qv.reload") != names.end();
}

void PluginTest::ReloadFromConsole() {
  EXPECT_TRUE(StandIn::Commands::RunConsole("qv.reload", nullptr)) << "qv.reload is not registered";
}
