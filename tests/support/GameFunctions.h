// The game's functions as the plugin reaches them, for tests that call the stand-in's game
// directly: by key through the host's GetAddress.
#pragma once

#include <cstdint>
#include <string>

#include "host/GameTypes.h"
#include "host/HostApi.h"

// The game function of `key` as `Signature`.
template <typename Signature>
Signature* Game(const char* key) {
  return reinterpret_cast<Signature*>(GetAddress(std::string(key)));
}

// The game's name of `text`, made as the plugin makes its names.
inline FName MakeName(const char* text) {
  FName name;
  Game<void(FName*, const char*, int32_t, int32_t, bool, int32_t)>("FName.Init")(&name, text, 0, 1,
                                                                                 true, -1);
  return name;
}
