// Whether the plugin would switch given missions off under a configuration, and by which entry,
// decided by the plugin's own matching code.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "rules/MissionMatch.h"

struct MissionVerdict {
  std::string Name;                     // the display name asked about (UTF-8)
  std::optional<bool> Disabled;         // none when the configuration cannot be read
  std::optional<DisablingEntry> Entry;  // the entry that switches it off
  // When the plugin's search fails, which it answers with "not switched off": why (a top level
  // that is not an object, an entry that is no string), and the later entry that would have
  // matched. When the configuration cannot be read: that it was not checked. Else empty.
  std::string Note;
};

// One verdict per name, in order. `config` is the value the plugin reads, none when the file
// cannot be read; the plugin then switches nothing off (at load) or keeps the configuration it
// had (at a reload), so no verdict is given. The plugin's own lookup runs on `config` itself, not
// on a copy (a copy of a deeply nested value would recurse as deep): it may add
// "DisabledMissions" with the value null, as it does to the configuration in force.
std::vector<MissionVerdict> JudgeMissions(std::optional<nlohmann::json>& config,
                                          const std::vector<std::string>& names);
