// The stand-in dedicated server process state for one sandbox run: the server started in a
// directory with the journal recording (the console and RCON take its entries after each
// command), its log on the terminal, the world made from a world file and the plugins loaded
// through the loader, in order. Destruction unloads the plugins in the reverse order (each one's
// detach runs) and stops the server.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sandbox/server/Roster.h"
#include "sandbox/server/Terminal.h"
#include "sandbox/server/WorldFile.h"
#include "standin/ScratchServer.h"
#include "standin/World.h"

namespace Sandbox {

// The commands one plugin registered, as the console lists them.
struct PluginCommands {
  std::string Plugin;  // the library's path as it was given
  std::vector<std::string> Commands;
};

class StandInServer {
 public:
  StandInServer(const std::string& serverDir, const WorldPlan& world, const Terminal& terminal);
  ~StandInServer();
  StandInServer(const StandInServer&) = delete;
  StandInServer& operator=(const StandInServer&) = delete;

  // Loads the plugin library at `path` after those already loaded; throws std::runtime_error
  // when it cannot, or when that file is loaded already (under any path).
  void LoadPlugin(const std::string& path);
  // Unloads every plugin, the last loaded first.
  void UnloadPlugins();

  // The registered commands by the plugin that registered them, in load order: a plugin owns the
  // names registered by the end of its load that no plugin loaded before it owns. Names
  // registered later (by a command's handler, say) are listed under an empty plugin path at the
  // end.
  std::vector<PluginCommands> CommandsByPlugin() const;

  const std::string& Directory() const { return server_.Directory(); }
  const Roster& Players() const { return *roster_; }

 private:
  struct LoadedPlugin {
    std::unique_ptr<StandIn::PluginLibrary> Library;
    std::vector<std::string> Registered;  // every name registered when its load ended
  };

  const Terminal& terminal_;
  StandIn::ScratchServer server_;  // the roster and the plugins, declared after it, go first
  std::optional<Roster> roster_;
  std::vector<LoadedPlugin> plugins_;
};

}  // namespace Sandbox
