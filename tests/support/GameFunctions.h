// The game's functions as the plugin reaches them, for tests that call the stand-in's game
// directly: by key through the host's GetAddress. Names are made with the plugin's own MakeName
// (host-bridge/GameCalls.h).
#pragma once

#include <string>

#include "host-bridge/HostApi.h"

// The game function of `key` as `Signature`.
template <typename Signature>
Signature* Game(const char* key) {
  return reinterpret_cast<Signature*>(GetAddress(std::string(key)));
}
