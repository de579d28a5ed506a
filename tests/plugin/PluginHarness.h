// What plugin tests share: the plugin's exported query resolved by name as another plugin would,
// and the reload command as the console runs it.
#pragma once

#include <string>

#include "host/FString.h"
#include "support/ServerFixture.h"

// Whether "qv.reload" is registered.
bool ReloadRegistered();

class PluginTest : public ServerTest {
 protected:
  // Writes `config` and loads the plugin.
  void LoadWith(const std::string& config);

  // QuestVeto::IsMissionDisabled(const FString&) of the loaded plugin, on UTF-8 `displayName`.
  bool Disabled(const std::string& displayName);
  bool Disabled(const FString& displayName);
  // QuestVeto::IsMissionDisabled(AMissionType*) of the loaded plugin.
  bool Disabled(AMissionType* mission);

  // "qv.reload" typed on the server console; fails the test when it is not registered.
  void ReloadFromConsole();
};
