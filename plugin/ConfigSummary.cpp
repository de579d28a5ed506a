#include "plugin/ConfigSummary.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <vector>

#include <fmt/format.h>

#include "plugin/Config.h"
#include "plugin/LogText.h"
#include "plugin/MissionMatch.h"

namespace {

// A list of names in the log stays one readable line however long the configuration.
constexpr std::size_t kNamesShown = 10;

// The entries the filter tries, in its order.
std::vector<std::string> Entries(const nlohmann::json& config) {
  return ListEntriesInForce(config, std::numeric_limits<std::size_t>::max()).First;
}

// The entries of `of` that `in` does not hold, in the order of `of`.
std::vector<std::string> Missing(const std::vector<std::string>& of,
                                 const std::vector<std::string>& in) {
  std::vector<std::string> sorted = in;
  std::sort(sorted.begin(), sorted.end());
  std::vector<std::string> missing;
  for (const std::string& entry : of) {
    if (!std::binary_search(sorted.begin(), sorted.end(), entry)) missing.push_back(entry);
  }
  return missing;
}

// `verb` "Hunt", "Ride", ... and N more
std::string Listed(const char* verb, const std::vector<std::string>& names) {
  std::string text = verb;
  for (std::size_t i = 0; i < names.size() && i < kNamesShown; ++i) {
    text += fmt::format("{}\"{}\"", i == 0 ? " " : ", ", EscapeForLog(names[i]));
  }
  if (names.size() > kNamesShown) text += fmt::format(" and {} more", names.size() - kNamesShown);
  return text;
}

// The member `key` of `config`; null when absent or `config` is no object.
nlohmann::json Setting(const nlohmann::json& config, const char* key) {
  if (!config.is_object()) return nullptr;
  const auto found = config.find(key);
  return found == config.end() ? nlohmann::json() : *found;
}

}  // namespace

std::string EntriesInForceText(const nlohmann::json& config) {
  const std::size_t entries = CountEntriesInForce(config);
  return fmt::format("{} {} of \"{}\" in force", entries, entries == 1 ? "entry" : "entries",
                     kDisabledMissionsKey);
}

std::string ChangesInForce(const nlohmann::json& before, const nlohmann::json& after) {
  const std::vector<std::string> old = Entries(before);
  const std::vector<std::string> now = Entries(after);
  std::vector<std::string> changes;
  if (const auto added = Missing(now, old); !added.empty())
    changes.push_back(Listed("added", added));
  if (const auto removed = Missing(old, now); !removed.empty()) {
    changes.push_back(Listed("removed", removed));
  }
  for (const char* key : {kDisabledMessageKey, kShowMissionNamesKey}) {
    if (Setting(before, key) != Setting(after, key)) {
      changes.push_back(fmt::format("\"{}\" changed", key));
    }
  }
  if (changes.empty()) return "no change";
  std::string text = changes.front();
  for (std::size_t i = 1; i < changes.size(); ++i) text += "; " + changes[i];
  return text;
}
