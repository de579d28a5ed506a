// What the plugin records of its load and of its reads of config.json, for the operator's
// "qv.status", for the unload, which blames the host only for a removal of what the load placed,
// and for the settings, which apply their defaults silently until a read has succeeded. Each
// record is written where what it records happens.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct ConfigReads {
  std::optional<int64_t> LastSucceeded;  // when a read last succeeded (seconds since 1970, UTC)
  std::optional<int64_t> LastFailed;     // when a read last failed
  std::string LastFailure;               // why that read failed
  bool LastReadFailed = false;           // the latest read was the failed one
};

// The record of the reads of config.json, kept by ReadConfig.
ConfigReads& ConfigReadRecord();

// What the last load placed with the host, as the host answered: all false before a load, and
// the hook false when the host refused it (then no mission start reaches the plugin).
struct PlacedWithHost {
  bool MissionStartHook = false;
  bool ConsoleCommand = false;
  bool RconCommand = false;
  bool ConsoleStatusCommand = false;
  bool RconStatusCommand = false;
};

// The record of what the load placed, kept by PluginLoad.
PlacedWithHost& PlacedAtLoad();

// True from the start of PluginLoad to the start of PluginUnload. A hook or handler that the host
// still holds after an unload reads it to do nothing: by then the plugin's static objects may be
// destroyed, and this flag, with the game's own function, is all such a call may touch.
bool PluginActive() noexcept;
// Set by PluginLoad (true) and PluginUnload (false).
void SetPluginActive(bool active) noexcept;
