// Checking a config.json: read exactly as the plugin reads it, then its values examined for what
// the plugin tolerates without a word but an operator almost never means.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tools/configcheck/ConfigLocations.h"
#include "tools/configcheck/Finding.h"

// Mission display names from a file, one a line, that the configuration is weighed against.
struct MissionList {
  std::string File;
  std::vector<std::string> Names;  // UTF-8
};

struct ConfigCheck {
  std::string Path;
  std::vector<Finding> Findings;         // in the order of their place in the file
  std::optional<nlohmann::json> Config;  // the value the plugin reads; none when it cannot
};

// Reads `path` with the plugin's own reading function. A file that cannot be opened or parsed
// gives one error finding (the JSON library's message, with its line and column) and no value;
// otherwise the value is examined by CheckValues. A parse error's message gets a hint when its
// cause is a common one (see ParseHints.h).
ConfigCheck CheckConfigFile(const std::string& path, const MissionList* listed = nullptr);

// Warnings about a parsed configuration, each placed with `where`:
// - a top level that is not an object, and a "DisabledMissions" that is missing, null or empty:
//   the plugin switches nothing off;
// - a top-level key given twice, and an unknown key, with the nearest known key as a hint;
// - "DisabledMissions" as an object or a single non-string value, its first entry that is not a
//   string (the plugin's search stops there), and entries that match nothing (empty, or cut to
//   nothing by U+0000) or are cut short by U+0000, or hold letters outside A-Z whose case the
//   plugin does not ignore;
// - given `listed`, an entry that alone switches off more than half of its missions;
// - "DisabledMessage" not a string, empty (a blank notification), or rejected by the
//   notification's formatter;
// - "ShowMissionNames" not a boolean;
// - text after the top-level object, which the plugin never reads.
std::vector<Finding> CheckValues(const nlohmann::json& config, const ConfigLocations& where,
                                 const MissionList* listed = nullptr);
