// Checking a config.json: read exactly as the plugin reads it, then its values examined for what
// the plugin tolerates without a word but an operator almost never means.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tools/configcheck/ConfigText.h"

enum class Severity {
  Warning,  // the plugin reads the file, but not the way the operator most likely meant
  Error,    // the plugin cannot read the file at all
};

// One thing the check reports about a config.json.
struct Finding {
  Severity Level;
  std::string Message;
  std::optional<TextPosition> At;  // where the key or value concerned begins; none for the file
  std::string Key;                 // the top-level key concerned; empty when none
};

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
// cause is a common one (see ParseErrorHint); a file that cannot be opened gets one for each file
// beside it that the plugin, too, names as most likely meant (ConfigNearMisses).
ConfigCheck CheckConfigFile(const std::string& path, const MissionList* listed = nullptr);

// Warnings about a parsed configuration, each placed with `where`:
// - a top level that is not an object, and a "DisabledMissions" that is missing, null or empty:
//   the plugin switches nothing off;
// - a top-level key given twice, and a key the plugin does not read, with the key it most likely
//   misspells as a hint: the one the plugin's log names (MeantKey);
// - "DisabledMissions" as an object or a single non-string value, its first entry that is not a
//   string (the plugin's search stops there), and entries that match nothing (empty, or cut to
//   nothing by U+0000) or are cut short by U+0000, or hold letters outside A-Z whose case the
//   plugin does not ignore (it ignores the case of A-Z only, as the Windows runtime does in the
//   "C" locale plugins run in, so "Охота" and "ОХОТА" are different texts to it), or begin or end
//   with white space by Unicode's definition, which the plugin matches as written;
// - "DisabledMissions" as one string that holds commas, with the list it most likely meant;
// - given `listed`, an entry that alone switches off more than half of its missions;
// - "DisabledMessage" not a string, empty (a blank notification), or rejected by the
//   notification's formatter;
// - "ShowMissionNames" or "ShowConfigSummary" not a boolean;
// - text after the top-level object, which the plugin never reads: `ignoredTextAt`, where
//   ParseConfigFile found it.
std::vector<Finding> CheckValues(const nlohmann::json& config, const ConfigLocations& where,
                                 const std::optional<TextPosition>& ignoredTextAt,
                                 const MissionList* listed = nullptr);

// "null", "an object", "an array", "a string", "a boolean", "a number": what a JSON value is, as
// findings name it.
std::string Described(const nlohmann::json& value);

// `text` as findings show it, so that any key, entry or name stays on its line and nothing in it
// hides: as config.json holds it (ConfigString), except that a byte that is not valid UTF-8 shows
// as \xE9 and white space beyond ASCII, invisible on a screen, as in JSON (\u00a0).
std::string Quoted(const std::string& text);
