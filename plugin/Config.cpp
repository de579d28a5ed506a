#include "plugin/Config.h"

#include <set>
#include <string_view>
#include <utility>

#include <fmt/format.h>

#include "host-bridge/HostApi.h"
#include "host-bridge/Platform.h"
#include "plugin/Containment.h"
#include "plugin/Log.h"
#include "plugin/LogText.h"
#include "plugin/PluginState.h"
#include "rules/ConfigFile.h"
#include "rules/ConfigKeys.h"
#include "rules/MissionMatch.h"
#include "rules/Settings.h"

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
bool ConfigWasRead() {
  return ConfigReadRecord().LastSucceeded.has_value();
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

// "1 entry is", "2 entries are"
std::string EntriesAre(std::size_t count) {
  return fmt::format("{} {}", count, count == 1 ? "entry is" : "entries are");
}

// An entry that is not a string ends the mission list: the filter never tries those after it.
void WarnOfListEnd(const nlohmann::json& value) {
  const EntriesInForce entries = ListEntriesInForce(value, 0);
  if (entries.StopType == nullptr) return;
  const std::string_view type = entries.StopType;
  const char* const article = type == "null"                        ? ""
                              : type == "array" || type == "object" ? "an "
                                                                    : "a ";
  std::string inForce = EntriesAre(entries.Count) + " in force";
  if (entries.AfterStop != 0) {
    inForce += fmt::format(", the {} after it {} not", entries.AfterStop,
                           entries.AfterStop == 1 ? "is" : "are");
  }
  PluginLog()->warn("Config key \"{}\" ends at entry {}, which is {}{}, not a string: {}",
                    kDisabledMissionsKey, entries.Count + 1, article, type, inForce);
}

// What the read found that the plugin will not use, said before the value is in force.
void WarnOfUnreadText(const std::string& path, const nlohmann::json& value,
                      const std::optional<TextPosition>& ignoredTextAt) {
  if (ignoredTextAt) {
    PluginLog()->warn(
        "Config text after the first JSON value is not read: {}, from line {}, column {}",
        EscapeForLog(path), ignoredTextAt->Line, ignoredTextAt->Column);
  }
  for (const MisspeltKey& key : MisspeltKeys(value)) {
    PluginLog()->warn("Config key \"{}\" is not read: did you mean \"{}\"?",
                      EscapeForLog(key.Written), key.Meant);
  }
  WarnOfListEnd(value);
}

// The setting's value; the problem that made its default apply, if any, warned about once per
// read of the configuration.
template <typename T>
T InForce(const char* key, Setting<T> setting) {
  if (!setting.Problem.empty()) WarnConfigFallback(key, setting.Problem);
  return std::move(setting.Value);
}

// Reads the file into PluginConfig, saying first what of it the plugin will not use; the value it
// replaces goes to `replaced` when given.
void ParseIntoConfig(nlohmann::json* replaced) {
  LastPath().clear();
  LastReadUnopened() = false;
  LastPath() = ConfigPath();
  // Parsed aside, so that a file broken halfway never leaves a half-read configuration in force.
  nlohmann::json value;
  std::optional<TextPosition> ignoredTextAt;
  try {
    value = ParseConfigFile(LastPath(), &ignoredTextAt);
  } catch (const ConfigFileUnopened&) {
    LastReadUnopened() = true;
    throw;
  }
  WarnOfUnreadText(LastPath(), value, ignoredTextAt);
  if (replaced != nullptr) *replaced = std::move(PluginConfig);
  PluginConfig = std::move(value);
}

}  // namespace

std::string ConfigPath() {
  // Written the system's way wherever it is shown (log, qv.status): on Windows the server
  // directory's parts are separated by backslashes, and so are the ones appended here.
  return Platform::NativeSeparators(HostApi::Tools::GetCurrentDir() +
                                    "/HostApi/Plugins/QuestVeto/config.json");
}

std::optional<std::string> ReadConfig(nlohmann::json* replaced) {
  ConfigReads& reads = ConfigReadRecord();
  std::optional<std::string> failure;
  Contain([replaced] { ParseIntoConfig(replaced); },
          [&](const char* reason) {
            failure = OrUnknown(reason);
            reads.LastFailed = Platform::CurrentTime64();
            reads.LastFailure = *failure;
            reads.LastReadFailed = true;
          });
  if (failure) return failure;
  reads.LastSucceeded = Platform::CurrentTime64();
  reads.LastReadFailed = false;
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

bool ShowConfigSummary() {
  // Before a read PluginConfig is null. A top level that is no object holds no such key: the
  // first start warns of it, by its own setting, rather than every read.
  if (!PluginConfig.is_object()) return false;
  return InForce(kShowConfigSummaryKey, ShowConfigSummaryIn(PluginConfig));
}

void WarnConfigFallback(const std::string& key, const std::string& reason) {
  if (!Warned().emplace(key, reason).second) return;
  PluginLog()->warn("Config key \"{}\" cannot be used, the default applies: {}", key,
                    EscapeForLog(reason));
}
