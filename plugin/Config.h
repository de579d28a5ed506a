// The plugin's configuration in force: one JSON document read from config.json in the plugin's
// directory (rules/ConfigFile.h), and the settings as the mission start reads them.
#pragma once

#include <optional>
#include <string>

#include <nlohmann/json.hpp>

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
