#include "plugin/Config.h"

#include <fstream>
#include <stdexcept>

nlohmann::json ParseConfigFile(const std::string& path) {
  std::ifstream file(path);
  if (!file.is_open()) throw std::runtime_error("Can't open config.json");
  nlohmann::json parsed;
  file >> parsed;
  return parsed;
}
