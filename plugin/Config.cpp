#include "plugin/Config.h"

#include <set>
#include <utility>

#include "host/HostApi.h"
#include "host/Platform.h"
#include "plugin/Containment.h"
#include "plugin/Log.h"
#include "plugin/LogText.h"
#include "plugin/PluginState.h"
#include "plugin/Settings.h"

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

// The path of the latest read.
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

// The setting's value; the problem that made its default apply, if any, warned about once per
// read of the configuration.
template <typename T>
T InForce(const char* key, Setting<T> setting) {
  if (!setting.Problem.empty()) WarnConfigFallback(key, setting.Problem);
  return std::move(setting.Value);
}

// Reads the file into PluginConfig, saying first what of it the plugin will not use.
void ParseIntoConfig() {
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
}

}  // namespace

std::string ConfigPath() {
  return HostApi::Tools::GetCurrentDir() + "/HostApi/Plugins/QuestVeto/config.json";
}

std::optional<std::string> ReadConfig() {
  ConfigReads& reads = ConfigReadRecord();
  std::optional<std::string> failure;
  Contain(ParseIntoConfig, [&](const char* reason) {
    failure = OrUnknown(reason);
    reads.LastFailed = Platform::CurrentTime64();
    reads.LastFailure = *failure;
    reads.LastReadFailed = true;
  });
  if (failure) return failure;
  reads.LastSucceeded = Platform::CurrentTime64();
  reads.LastReadFailed = false;
  ConfigWasRead() = true;
  Warned().clear();
  return std::nullopt;
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
  if (!ConfigWasRead()) return kDefaultDisabledMessage;
  return InForce(kDisabledMessageKey, DisabledMessageIn(PluginConfig));
}

bool ShowMissionNames() {
  if (!ConfigWasRead()) return false;
  return InForce(kShowMissionNamesKey, ShowMissionNamesIn(PluginConfig));
}

void WarnConfigFallback(const std::string& key, const std::string& reason) {
  if (!Warned().emplace(key, reason).second) return;
  PluginLog()->warn("Config key \"{}\" cannot be used, the default applies: {}", key,
                    EscapeForLog(reason));
}
