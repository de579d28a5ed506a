// The host's hook registry: detours placed on the stand-in game's functions. The game calls a
// hookable function through Entry(), so an installed detour receives the game's own calls. Its
// face (the detours installed, refusing installs) is in Registries.h.
#pragma once

#include <string>

#include "host-bridge/HostApi.h"
#include "standin/Api.h"
#include "standin/Registries.h"

namespace StandIn::Hooks {

// The registry behind HostApi::GetHooks().
HostApi::IHooks& Registry();

// Where calls of `key` go now: the latest detour, else the game's own function (Fatal when the
// game has no such function).
STANDIN_API void* Entry(const std::string& key);
// Forgets every detour and accepts installs again (a new server starts with none).
void Clear();

}  // namespace StandIn::Hooks
