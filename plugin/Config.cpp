#include "plugin/Config.h"

#include "host/HostApi.h"
#include "plugin/ConfigFile.h"
#include "plugin/ConfigWarnings.h"

nlohmann::json PluginConfig;

std::string ConfigPath() {
  return HostApi::Tools::GetCurrentDir() + "/HostApi/Plugins/QuestVeto/config.json";
}

void ReadConfig() {
  // Parsed aside, so that a file broken halfway never leaves a half-read configuration in force.
  PluginConfig = ParseConfigFile(ConfigPath());
  ForgetConfigWarnings();
}
