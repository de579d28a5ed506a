// One run of the sandbox server: the stand-in server with its world and the plugin, the console
// on standard input or a script, and optionally the RCON listener, all on one thread. It runs
// until "quit", the end of the input, SIGINT or SIGTERM, and then unloads the plugins.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sandbox/rcon/RconSettings.h"

namespace Sandbox {

struct RunOptions {
  std::string ServerDir;
  bool ScratchServerDir = false;  // ServerDir was made for this run and goes at its end
  std::string WorldFile;
  std::vector<std::string> Plugins;  // loaded in this order, unloaded in the reverse
  std::string Script;                // empty: standard input
  std::optional<RconSettings> Rcon;
  bool RefuseHooks = false;  // the host refuses every hook, as it does a function it does not know
};

// Runs the server; the exit status for the process. Throws std::exception for a failure to
// start (a bad world file, a plugin that cannot be loaded, an address that cannot be bound).
int RunSandbox(const RunOptions& options);

}  // namespace Sandbox
