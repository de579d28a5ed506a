#include "plugin/Config.h"

#include <set>
#include <utility>

#include "host/HostApi.h"
#include "host/Platform.h"
#include "plugin/Containment.h"
#include "plugin/Log.h"
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

// The setting's value; the problem that made its default apply, if any, warned about once per
// read of the configuration.
template <typename T>
T InForce(const char* key, Setting<T> setting) {
  if (!setting.Problem.empty()) WarnConfigFallback(key, setting.Problem);
  return std::move(setting.Value);
}

}  // namespace

std::string ConfigPath() {
  return HostApi::Tools::GetCurrentDir() + "/HostApi/Plugins/QuestVeto/config.json";
}

void ReadConfig() {
  ConfigReads& reads = ConfigReadRecord();
  std::exception_ptr failure;
  // Parsed aside, so that a file broken halfway never leaves a half-read configuration in force.
  const bool read = Contain([] { PluginConfig = ParseConfigFile(ConfigPath()); },
                            [&](const char* reason) {
                              reads.LastFailed = Platform::CurrentTime64();
                              reads.LastFailure = OrUnknown(reason);
                              reads.LastReadFailed = true;
                              failure = std::current_exception();
                            });
  if (!read) std::rethrow_exception(failure);
  reads.LastSucceeded = Platform::CurrentTime64();
  reads.LastReadFailed = false;
  ConfigWasRead() = true;
  Warned().clear();
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
  PluginLog()->warn("Config key \"{}\" cannot be used, the default applies: {}", key, reason);
}
