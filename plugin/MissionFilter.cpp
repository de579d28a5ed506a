#include <exception>

#include "host/GameCalls.h"
#include "plugin/Config.h"
#include "plugin/MissionMatch.h"
#include "plugin/QuestVeto.h"

namespace QuestVeto {

bool IsMissionDisabled(const FString& displayName) {
  try {
    // May make a null configuration an object and add a missing "DisabledMissions" as null.
    return FindDisablingEntry(PluginConfig, displayName).has_value();
  } catch (const std::exception&) {  // GCOVR_EXCL_BR_LINE nothing else is thrown here
    // A configuration of the wrong shape switches nothing off.
    return false;
  }
}

bool IsMissionDisabled(AMissionType* mission) {
  if (mission == nullptr) return false;
  return IsMissionDisabled(MissionDisplayName(mission));
}

}  // namespace QuestVeto
