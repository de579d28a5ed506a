// The plugin's configuration: one JSON document read from config.json in the plugin's directory.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

// The configuration in force; JSON null until a read succeeds.
extern nlohmann::json PluginConfig;

// <server dir>/HostApi/Plugins/QuestVeto/config.json
std::string ConfigPath();

// Replaces PluginConfig with the file's first JSON value. Throws std::runtime_error
// "Can't open config.json" when the file cannot be opened, or the JSON library's error (with line
// and column) when it is not valid JSON; PluginConfig is left as it was on every failure. After a
// success, each problem with a value is warned about again when a mission start next meets it.
void ReadConfig();
