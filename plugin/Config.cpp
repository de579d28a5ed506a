#include "plugin/Config.h"

#include <fstream>
#include <stdexcept>

#include "host/HostApi.h"

nlohmann::json PluginConfig;

std::string ConfigPath() {
  return HostApi::Tools::GetCurrentDir() + "/HostApi/Plugins/QuestVeto/config.json";
}

void ReadConfig() {
  std::ifstream file(ConfigPath());
  if (!file.is_open()) throw std::runtime_error("Can't open config.json");
  // Parsed aside, so that a file broken halfway never leaves a half-read configuration in force.
  nlohmann::json parsed;
  file >> parsed;
  PluginConfig = std::move(parsed);
}
