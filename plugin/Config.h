// The plugin's configuration: one JSON document read from config.json in the plugin's directory,
// its keys with their defaults, and the settings as the mission start reads them. The keys and
// the file's reading are shared with the tools that check the same file.
#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

// Array of mission name parts; a display name containing one of them, ignoring case, is refused.
inline constexpr const char* kDisabledMissionsKey = "DisabledMissions";
// The notification text a refused player sees; passes through the formatter ("{{" shows as "{").
inline constexpr const char* kDisabledMessageKey = "DisabledMessage";
// Boolean: whether mission starts are written to the log.
inline constexpr const char* kShowMissionNamesKey = "ShowMissionNames";
// Boolean: whether each read of the file is confirmed in the log, with what is in force and, at a
// reload, what changed.
inline constexpr const char* kShowConfigSummaryKey = "ShowConfigSummary";

inline constexpr const char* kDefaultDisabledMessage =
    "This mission has been disabled, but you have had it unlocked now!";

// A place in config.json as editors name it: line and column from 1, the column counted in bytes
// as the JSON library's parse errors count it.
struct ConfigFilePlace {
  std::size_t Line;
  std::size_t Column;
};

// Thrown when config.json cannot be opened, or is a directory; what() is "Can't open config.json".
class ConfigFileUnopened : public std::runtime_error {
 public:
  ConfigFileUnopened() : std::runtime_error("Can't open config.json") {}
};

// The first JSON value in the file at `path`. Throws ConfigFileUnopened when the file cannot be
// opened, or the JSON library's error (parse_error with line and column, out_of_range for a number
// too large) when it is not valid JSON. Comments are not allowed; a UTF-8 byte order mark is
// skipped. Text after the value is never parsed; when `ignoredTextAt` is given, it receives where
// that text begins (none when only white space follows). The one way the plugin, and every tool
// that checks the file, parses it.
nlohmann::json ParseConfigFile(const std::string& path,
                               std::optional<ConfigFilePlace>* ignoredTextAt = nullptr);

// A top-level key that is most likely a key the plugin reads, misspelt: it differs from `Meant`
// only in letter case (A-Z), or by one or two letters added, dropped or replaced, and `Meant`
// itself is not in the object. The plugin never reads `Written`.
struct MisspeltKey {
  std::string Written;
  const char* Meant;
};
// The misspelt keys of `config`, in the object's order; none when it is not an object.
std::vector<MisspeltKey> MisspeltKeys(const nlohmann::json& config);

// A file beside the missing config.json at `path` that was most likely meant to be it, and what
// to do with it.
struct ConfigNearMiss {
  std::string Name;    // as the directory lists it (UTF-8)
  std::string Advice;  // "rename it to config.json (...)" or "copy it to config.json"
};
// The near misses in the directory of `path`: "config.json.txt" (Windows hides known extensions),
// a name that differs from config.json only in letter case, or else "config.sample.json". None
// when the directory cannot be listed.
std::vector<ConfigNearMiss> ConfigNearMisses(const std::string& path);

// The configuration in force; JSON null until a read succeeds.
extern nlohmann::json PluginConfig;

// <server dir>/HostApi/Plugins/QuestVeto/config.json
std::string ConfigPath();

// Replaces PluginConfig with the file's first JSON value (ParseConfigFile). Warns of text after
// that value and of misspelt keys before the new value is put in force. After a success, each
// problem with a value is warned about again when a mission start next meets it. Answers none
// when the new value is in force, or why the read failed (the what() text of what it threw,
// "unknown error" for anything else), PluginConfig left as it was. The failure comes out as a
// value made inside its handler, never as a stored exception thrown again: some runtimes free a
// rethrown exception object while the stack unwinds, before its what() is read. When the read
// succeeds and `replaced` is given, it receives the configuration the read replaced, moved: a
// copy would recurse once per level of nesting.
std::optional<std::string> ReadConfig(nlohmann::json* replaced = nullptr);

// The file the last ReadConfig read or tried to read; empty before the first, or when that one
// could not find out the server directory.
const std::string& LastConfigPath();

// After a ReadConfig that could not open the file, warns of each file beside it that was most
// likely meant (ConfigNearMisses): "Found "<name>" where config.json belongs: <advice>".
// Otherwise nothing. Nothing thrown leaves it: the failure it follows is logged already.
void WarnOfConfigNearMisses() noexcept;

// The settings, read afresh at every call. A value that cannot be used falls back to its default
// and logs "Config key "<key>" cannot be used, the default applies: <reason>" at warning, once
// per read of the configuration, so that a typo in config.json gives one line rather than one at
// every start; nothing is thrown. Until a read has succeeded (the file was missing or broken at
// load) the defaults apply silently: the load's critical line already names the cause.
// "DisabledMessage" (UTF-8), or the default text when absent or not a string.
std::string DisabledMessage();
// "ShowMissionNames", or false when absent or not a boolean.
bool ShowMissionNames();
// "ShowConfigSummary", or false when absent or not a boolean.
bool ShowConfigSummary();
// The same fallback warning for a problem its reader finds in a value (the formatter rejecting
// "DisabledMessage").
void WarnConfigFallback(const std::string& key, const std::string& reason);
