#include "plugin/ConfigFile.h"

#include <fstream>
#include <stdexcept>

#include "host/Platform.h"

nlohmann::json ParseConfigFile(const std::string& path) {
  std::ifstream file;
  Platform::OpenForReading(file, path);
  if (!file.is_open()) throw std::runtime_error("Can't open config.json");
  nlohmann::json parsed;
  file >> parsed;
  return parsed;
}
