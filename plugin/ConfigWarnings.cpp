#include "plugin/ConfigWarnings.h"

#include <set>
#include <utility>

#include "plugin/Log.h"

namespace {

// The (key, reason) pairs logged since the last read. Only a read changes the configuration, and
// a configuration has a fixed set of problems, so this stays small.
std::set<std::pair<std::string, std::string>>& Logged() {
  static std::set<std::pair<std::string, std::string>> logged;
  return logged;
}

}  // namespace

void WarnConfigFallback(const std::string& key, const std::string& reason) {
  if (!Logged().emplace(key, reason).second) return;
  PluginLog()->warn("Config key \"{}\" cannot be used, the default applies: {}", key, reason);
}

void ForgetConfigWarnings() {
  Logged().clear();
}
