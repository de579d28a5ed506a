// The host's hook registry: detours placed on the stand-in game's functions. The game calls a
// hookable function through Entry(), so an installed detour receives the game's own calls.
#pragma once

#include <string>
#include <vector>

#include "host/HostApi.h"
#include "standin/Api.h"

namespace StandIn::Hooks {

// The registry behind HostApi::GetHooks().
HostApi::IHooks& Registry();

// Where calls of `key` go now: the latest detour, else the game's own function (Fatal when the
// game has no such function).
STANDIN_API void* Entry(const std::string& key);
// Detours installed on `key`, the first installed first.
STANDIN_API std::vector<void*> Detours(const std::string& key);
// From now on every install is refused (answered false, nothing placed), as a host refuses a key
// it does not know; until Clear.
STANDIN_API void RefuseInstalls();
// Forgets every detour and accepts installs again (a new server starts with none).
void Clear();

}  // namespace StandIn::Hooks
