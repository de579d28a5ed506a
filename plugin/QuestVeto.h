// What QuestVeto offers other plugins in the same host: whether a mission is switched off by the
// operator's configuration. Call it on the game thread, as the host calls plugins.
#pragma once

#include "host/FString.h"
#include "host/GameTypes.h"
#include "host/Platform.h"

#if defined(QV_BUILDING_PLUGIN)
#define QUESTVETO_API QV_EXPORT
#else
#define QUESTVETO_API QV_IMPORT
#endif

namespace QuestVeto {

// True when `displayName` contains, ignoring case, an entry of "DisabledMissions". A configuration
// that cannot be read that way answers false; nothing is reported to the caller.
QUESTVETO_API bool IsMissionDisabled(const FString& displayName);

// The same test on a mission object's display name; false for null.
QUESTVETO_API bool IsMissionDisabled(AMissionType* mission);

}  // namespace QuestVeto
