#include "rules/MissionMatch.h"

#include "rules/ConfigKeys.h"

namespace {

// The text of `entry`, read in place: the filter runs at every mission start, and only the entry
// that matches is copied. An entry that is not a string fails as get<std::string>() does.
const std::string& EntryText(const nlohmann::json& entry) {
  if (!entry.is_string()) static_cast<void>(entry.get<std::string>());  // throws type_error 302
  return entry.get_ref<const std::string&>();
}

}  // namespace

std::optional<DisablingEntry> FindDisablingEntry(nlohmann::json& config,
                                                 const FString& displayName) {
  nlohmann::json& entries = config[kDisabledMissionsKey];
  std::size_t index = 0;
  for (const nlohmann::json& entry : entries) {
    const std::string& text = EntryText(entry);
    const FString needle = FString::FromUtf8(text);
    if (FindSubstring(displayName, needle.Text(), 1, 0, -1) != -1) {
      return DisablingEntry{index, text};
    }
    ++index;
  }
  return std::nullopt;
}

bool DisablesMission(nlohmann::json& config, const FString& displayName) {
  if (!displayName.WellFormed()) return false;
  try {
    return FindDisablingEntry(config, displayName).has_value();
  } catch (const nlohmann::json::type_error&) {
    return false;
  }
}

EntriesInForce ListEntriesInForce(const nlohmann::json& config, std::size_t firstWanted) {
  EntriesInForce entries;
  if (!config.is_object()) return entries;
  const auto list = config.find(kDisabledMissionsKey);
  if (list == config.end()) return entries;
  for (const nlohmann::json& entry : *list) {
    if (entries.StopType != nullptr) {
      ++entries.AfterStop;
    } else if (!entry.is_string()) {
      entries.StopType = entry.type_name();
    } else {
      if (entries.Count < firstWanted) entries.First.push_back(entry.get<std::string>());
      ++entries.Count;
    }
  }
  return entries;
}

std::size_t CountEntriesInForce(const nlohmann::json& config) {
  return ListEntriesInForce(config, 0).Count;
}
