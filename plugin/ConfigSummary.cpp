#include "plugin/ConfigSummary.h"

#include <cstddef>
#include <limits>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include <fmt/format.h>

#include "plugin/LogText.h"
#include "rules/ConfigKeys.h"
#include "rules/MissionMatch.h"
#include "rules/Settings.h"

namespace {

// A list of names in the log stays one readable line however long the configuration.
constexpr std::size_t kNamesShown = 10;

// The entries of `of` that `in` does not hold, in the order of `of`; time linear in the entries
// (entries often share long beginnings, which a sort would compare again and again).
std::vector<std::string> Missing(const std::vector<std::string>& of,
                                 const std::vector<std::string>& in) {
  const std::unordered_set<std::string_view> held(in.begin(), in.end());
  std::vector<std::string> missing;
  for (const std::string& entry : of) {
    if (held.count(entry) == 0) missing.push_back(entry);
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

}  // namespace

std::string EntriesInForceText(std::size_t entries) {
  return fmt::format("{} {} of \"{}\" in force", entries, entries == 1 ? "entry" : "entries",
                     kDisabledMissionsKey);
}

ConfigInForce InForceIn(const nlohmann::json& config) {
  return {ListEntriesInForce(config, std::numeric_limits<std::size_t>::max()).First,
          DisabledMessageIn(config).Value, ShowMissionNamesIn(config).Value,
          ShowConfigSummaryIn(config).Value};
}

std::string ChangesInForce(const ConfigInForce& before, const ConfigInForce& after) {
  std::vector<std::string> changes;
  if (const auto added = Missing(after.Entries, before.Entries); !added.empty()) {
    changes.push_back(Listed("added", added));
  }
  if (const auto removed = Missing(before.Entries, after.Entries); !removed.empty()) {
    changes.push_back(Listed("removed", removed));
  }
  const std::pair<const char*, bool> settings[] = {
      {kDisabledMessageKey, before.DisabledMessage != after.DisabledMessage},
      {kShowMissionNamesKey, before.ShowMissionNames != after.ShowMissionNames},
      {kShowConfigSummaryKey, before.ShowConfigSummary != after.ShowConfigSummary},
  };
  for (const auto& [key, changed] : settings) {
    if (changed) changes.push_back(fmt::format("\"{}\" changed", key));
  }
  if (changes.empty()) return "no change";
  std::string text = changes.front();
  for (std::size_t i = 1; i < changes.size(); ++i) text += "; " + changes[i];
  return text;
}
