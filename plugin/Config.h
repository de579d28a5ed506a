// The plugin's configuration: one JSON document read from config.json in the plugin's directory,
// its keys with their defaults, and the settings as the mission start reads them. The keys and
// the file's reading are shared with the tools that check the same file.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

// Array of mission name parts; a display name containing one of them, ignoring case, is refused.
inline constexpr const char* kDisabledMissionsKey = "DisabledMissions";
// The notification text a refused player sees; passes through the formatter ("{{" shows as "{").
inline constexpr const char* kDisabledMessageKey = "DisabledMessage";
// Boolean: whether mission starts are written to the log.
inline constexpr const char* kShowMissionNamesKey = "ShowMissionNames";

inline constexpr const char* kDefaultDisabledMessage =
    "This mission has been disabled, but you have had it unlocked now!";

// The first JSON value in the file at `path`; text after it is not read. Throws
// std::runtime_error "Can't open config.json" when the file cannot be opened, or the JSON
// library's error (parse_error with line and column, out_of_range for a number too large) when
// it is not valid JSON. Comments are not allowed; a UTF-8 byte order mark is skipped. The one
// way the plugin, and every tool that checks the file, parses it.
nlohmann::json ParseConfigFile(const std::string& path);

// The configuration in force; JSON null until a read succeeds.
extern nlohmann::json PluginConfig;

// <server dir>/HostApi/Plugins/QuestVeto/config.json
std::string ConfigPath();

// Replaces PluginConfig with the file's first JSON value (ParseConfigFile); PluginConfig is left
// as it was on every failure. After a success, each problem with a value is warned about again
// when a mission start next meets it.
void ReadConfig();

// The settings, read afresh at every call. A value that cannot be used falls back to its default
// and logs "Config key "<key>" cannot be used, the default applies: <reason>" at warning, once
// per read of the configuration, so that a typo in config.json gives one line rather than one at
// every start; nothing is thrown. Until a read has succeeded (the file was missing or broken at
// load) the defaults apply silently: the load's critical line already names the cause.
// "DisabledMessage" (UTF-8), or the default text when absent or not a string.
std::string DisabledMessage();
// "ShowMissionNames", or false when absent or not a boolean.
bool ShowMissionNames();
// The same fallback warning for a problem its reader finds in a value (the formatter rejecting
// "DisabledMessage").
void WarnConfigFallback(const std::string& key, const std::string& reason);
