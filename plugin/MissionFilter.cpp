#include "host/GameCalls.h"
#include "plugin/Config.h"
#include "plugin/MissionMatch.h"
#include "plugin/QuestVeto.h"

namespace QuestVeto {

bool IsMissionDisabled(const FString& displayName) {
  // Other plugins hand in strings we did not make: one that would be read out of bounds is
  // answered without reading it.
  if (!displayName.WellFormed()) return false;
  try {
    // May make a null configuration an object and add a missing "DisabledMissions" as null.
    return FindDisablingEntry(PluginConfig, displayName).has_value();
  } catch (...) {
    // A configuration of the wrong shape switches nothing off, and nothing thrown by the host
    // reaches the plugin that asks.
    return false;
  }
}

bool IsMissionDisabled(AMissionType* mission) {
  if (mission == nullptr) return false;
  try {
    return IsMissionDisabled(MissionDisplayName(mission));
  } catch (...) {
    return false;  // the field lookup failed
  }
}

}  // namespace QuestVeto
