#include <exception>
#include <string>

#include "host/GameCalls.h"
#include "plugin/Config.h"
#include "plugin/QuestVeto.h"

namespace QuestVeto {

bool IsMissionDisabled(const FString& displayName) {
  try {
    // The non-const access makes a null configuration an object and adds a missing key as null.
    nlohmann::json& entries = PluginConfig["DisabledMissions"];
    // An array yields its elements, an object its values in key order, a single value itself,
    // null nothing.
    for (const nlohmann::json& entry : entries) {
      const FString needle = FString::FromUtf8(entry.get<std::string>());
      if (FindSubstring(displayName, needle.Text(), 1, 0, -1) != -1) return true;
    }
    return false;
  } catch (const std::exception&) {
    // A configuration of the wrong shape switches nothing off.
    return false;
  }
}

bool IsMissionDisabled(AMissionType* mission) {
  if (mission == nullptr) return false;
  return IsMissionDisabled(MissionDisplayName(mission));
}

}  // namespace QuestVeto
