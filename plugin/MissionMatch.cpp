#include "plugin/MissionMatch.h"

#include <utility>

#include "plugin/ConfigKeys.h"

std::optional<DisablingEntry> FindDisablingEntry(nlohmann::json& config,
                                                 const FString& displayName) {
  nlohmann::json& entries = config[kDisabledMissionsKey];
  std::size_t index = 0;
  for (const nlohmann::json& entry : entries) {
    std::string text = entry.get<std::string>();
    const FString needle = FString::FromUtf8(text);
    if (FindSubstring(displayName, needle.Text(), 1, 0, -1) != -1) {
      return DisablingEntry{index, std::move(text)};
    }
    ++index;
  }
  return std::nullopt;
}
