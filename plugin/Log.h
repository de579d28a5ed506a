// The plugin's logger "QuestVeto", writing to the host's shared sinks.
#pragma once

#include <memory>

#include <spdlog/logger.h>

// The process-wide holder of the plugin's logger; empty until CreatePluginLogger has run.
std::shared_ptr<spdlog::logger>& PluginLog();

// Fills the holder with a new logger over a copy of the host's sink list as it stands now, with
// the line pattern "%D %R [%n][%l] %v" in local time, flushed at info and above.
void CreatePluginLogger();
