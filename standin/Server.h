// The stand-in server's lifetime: one server directory, one game world, the host's registries
// and log sinks. Callers run one through ScratchServer (ScratchServer.h).
#pragma once

#include <string>

#include "standin/Api.h"

namespace StandIn {

struct ServerOptions {
  // Whether the host's sinks include the log file (LogPathIn); without it the log goes only to
  // the journal.
  bool WriteLogFile = true;
};

// Starts a server rooted at `serverDir` (created if missing): a fresh world, empty hook and
// command registries, and the host's sinks: the journal's and, unless `options` says otherwise,
// the log file. Fatal when a server already runs.
STANDIN_API void Start(const std::string& serverDir, const ServerOptions& options = {});
// Stops the running server and destroys its world; the game heap blocks the world held go back.
STANDIN_API void Stop();
STANDIN_API bool Running();

}  // namespace StandIn
