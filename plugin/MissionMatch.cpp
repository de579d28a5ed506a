#include "plugin/MissionMatch.h"

#include "plugin/Config.h"

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

std::size_t CountEntriesInForce(const nlohmann::json& config) {
  if (!config.is_object()) return 0;
  const auto list = config.find(kDisabledMissionsKey);
  if (list == config.end()) return 0;
  std::size_t count = 0;
  for (const nlohmann::json& entry : *list) {
    if (!entry.is_string()) break;
    ++count;
  }
  return count;
}
