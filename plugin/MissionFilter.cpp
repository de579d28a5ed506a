#include "host-bridge/GameCalls.h"
#include "plugin/Config.h"
#include "plugin/PluginState.h"
#include "plugin/QuestVeto.h"
#include "rules/MissionMatch.h"

namespace QuestVeto {

bool IsMissionDisabled(const FString& displayName) {
  if (!PluginActive()) return false;  // the configuration may be destroyed
  // Other plugins hand in strings we did not make: one that would be read out of bounds is
  // answered without reading it (DisablesMission).
  try {
    // May make a null configuration an object and add a missing "DisabledMissions" as null.
    return DisablesMission(PluginConfig, displayName);
  } catch (...) {
    return false;  // nothing thrown by the host reaches the plugin that asks
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
