#include "plugin/Config.h"

#include <exception>
#include <set>
#include <utility>

#include "host/HostApi.h"
#include "plugin/Log.h"
#include "plugin/LogText.h"

nlohmann::json PluginConfig;

namespace {

// The (key, reason) pairs warned about since the last read. Only a read changes the
// configuration, and a configuration has a fixed set of problems, so this stays small.
std::set<std::pair<std::string, std::string>>& Warned() {
  static std::set<std::pair<std::string, std::string>> warned;
  return warned;
}

// False until a read of the file succeeds. Before that there are no keys to blame: the load's
// critical line already says why nothing is switched off, so the settings take their defaults
// without a word.
bool& ConfigWasRead() {
  static bool read = false;
  return read;
}

std::string& LastPath() {
  static std::string path;
  return path;
}

// Whether the last read failed for want of the file.
bool& LastReadUnopened() {
  static bool unopened = false;
  return unopened;
}

// What the read found that the plugin will not use, said before the value is in force.
void WarnOfUnreadText(const std::string& path, const nlohmann::json& value,
                      const std::optional<ConfigFilePlace>& ignoredTextAt) {
  if (ignoredTextAt) {
    PluginLog()->warn(
        "Config text after the first JSON value is not read: {}, from line {}, column {}",
        EscapeForLog(path), ignoredTextAt->Line, ignoredTextAt->Column);
  }
  for (const MisspeltKey& key : MisspeltKeys(value)) {
    PluginLog()->warn("Config key \"{}\" is not read: did you mean \"{}\"?",
                      EscapeForLog(key.Written), key.Meant);
  }
}

template <typename T>
T SettingOr(const char* key, const T& fallback) {
  if (!ConfigWasRead()) return fallback;
  try {
    return PluginConfig.value(key, fallback);
  } catch (const std::exception& error) {  // GCOVR_EXCL_BR_LINE nothing else is thrown here
    WarnConfigFallback(key, error.what());
    return fallback;
  }
}

}  // namespace

std::string ConfigPath() {
  return HostApi::Tools::GetCurrentDir() + "/HostApi/Plugins/QuestVeto/config.json";
}

void ReadConfig() {
  LastPath().clear();
  LastReadUnopened() = false;
  LastPath() = ConfigPath();
  // Parsed aside, so that a file broken halfway never leaves a half-read configuration in force.
  nlohmann::json value;
  std::optional<ConfigFilePlace> ignoredTextAt;
  try {
    value = ParseConfigFile(LastPath(), &ignoredTextAt);
  } catch (const ConfigFileUnopened&) {
    LastReadUnopened() = true;
    throw;
  }
  WarnOfUnreadText(LastPath(), value, ignoredTextAt);
  PluginConfig = std::move(value);
  ConfigWasRead() = true;
  Warned().clear();
}

const std::string& LastConfigPath() {
  return LastPath();
}

void WarnOfConfigNearMisses() noexcept {
  if (!LastReadUnopened()) return;
  try {
    for (const ConfigNearMiss& file : ConfigNearMisses(LastPath())) {
      PluginLog()->warn("Found \"{}\" where config.json belongs: {}", EscapeForLog(file.Name),
                        file.Advice);
    }
  } catch (...) {  // GCOVR_EXCL_LINE only a failure to allocate: the critical line said enough
  }
}

std::string DisabledMessage() {
  return SettingOr<std::string>(kDisabledMessageKey, kDefaultDisabledMessage);
}

bool ShowMissionNames() {
  return SettingOr<bool>(kShowMissionNamesKey, false);
}

void WarnConfigFallback(const std::string& key, const std::string& reason) {
  if (!Warned().emplace(key, reason).second) return;
  PluginLog()->warn("Config key \"{}\" cannot be used, the default applies: {}", key,
                    EscapeForLog(reason));
}
