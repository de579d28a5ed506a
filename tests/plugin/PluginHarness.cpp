#include "plugin/PluginHarness.h"

#include "plugin/QuestVetoClient.h"
#include "standin/CommandRegistry.h"

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

void PluginTest::ReloadFromConsole() {
  EXPECT_TRUE(StandIn::Commands::RunConsole("qv.reload", nullptr)) << "qv.reload is not registered";
}

std::vector<std::string> PluginTest::Messages(const std::string& level) const {
  const std::string marker = "[QuestVeto][" + level + "] ";
  std::vector<std::string> messages;
  for (const std::string& line : LogLines()) {
    const auto at = line.find(marker);
    if (at != std::string::npos) messages.push_back(line.substr(at + marker.size()));
  }
  return messages;
}
