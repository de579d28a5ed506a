// A stand-in server's files and log: where the plugin's config file and the host's log file lie
// in a server directory, and the host's list of log sinks.
#pragma once

#include <memory>
#include <string>

#include "standin/Api.h"

namespace spdlog::sinks {
class sink;
}

namespace StandIn {

// Where the plugin reads its configuration and where the host writes its log, inside the server
// directory `serverDir` (UTF-8, as the host hands it to plugins). The configuration's path is
// written as the plugin writes it (Platform::NativeSeparators).
STANDIN_API std::string ConfigPathIn(const std::string& serverDir);
STANDIN_API std::string LogPathIn(const std::string& serverDir);

// Adds a sink to the host's list of the running server (a terminal, say); loggers made before
// keep their own copies.
STANDIN_API void AddLogSink(std::shared_ptr<spdlog::sinks::sink> sink);

}  // namespace StandIn
