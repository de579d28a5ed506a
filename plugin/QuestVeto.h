// What QuestVeto offers other plugins in the same host: whether a mission is switched off by the
// operator's configuration. Call it on the game thread, as the host calls plugins.
#pragma once

#include "host-bridge/FString.h"
#include "host-bridge/GameTypes.h"
#include "host-bridge/Platform.h"

namespace QuestVeto {

// True when `displayName` contains, ignoring case, an entry of "DisabledMissions". A configuration
// that cannot be read that way answers false; nothing is reported to the caller.
// `displayName` must be well formed: Count from 0 to Capacity, a non-null Chars whenever Count is
// not 0, and Chars[Count - 1] the terminating 0 (Count 0 is the empty name). Any other string is
// answered false without the configuration being looked at; of its text only Chars[Count - 1] is
// read, to check the terminator, and nothing when Count lies outside 0 to Capacity. After the
// unload (a library that stays loaded because the host kept its hook or commands) it answers false.
QV_EXPORT bool IsMissionDisabled(const FString& displayName);

// The same test on a mission object's display name; false for null.
QV_EXPORT bool IsMissionDisabled(AMissionType* mission);

}  // namespace QuestVeto
