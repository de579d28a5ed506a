// The stand-in server's lifetime: one server directory, one game world, the host's registries
// and log sinks. Tests start a fresh server in a temporary directory for each case.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "standin/Api.h"

namespace spdlog::sinks {
class sink;
}

namespace StandIn {

struct ServerOptions {
  // Whether the host's sinks include the log file <serverDir>/HostApi/Logs/Server.log; without it
  // the log goes only to the journal (a fuzzer has no use for the file).
  bool WriteLogFile = true;
};

// Starts a server rooted at `serverDir` (created if missing): a fresh world, empty hook and
// command registries, and the host's sinks: the journal's and, unless `options` says otherwise,
// the log file. Fatal when a server already runs.
STANDIN_API void Start(const std::string& serverDir, const ServerOptions& options = {});
// Stops the running server and destroys its world; the game heap blocks the world held go back.
STANDIN_API void Stop();
STANDIN_API bool Running();

// Adds a sink to the host's list (a terminal, say); loggers made before keep their own copies.
STANDIN_API void AddLogSink(std::shared_ptr<spdlog::sinks::sink> sink);

}  // namespace StandIn
