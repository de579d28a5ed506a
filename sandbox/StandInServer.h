// The stand-in dedicated server process state for one sandbox run: the server started in a
// directory with the journal recording (the console and RCON take its entries after each
// command), its log on the terminal, the world made from a world file and the plugin loaded
// through the loader. Destruction unloads the plugin (its detach runs) and stops the server.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "sandbox/Roster.h"
#include "sandbox/Terminal.h"
#include "sandbox/WorldFile.h"
#include "standin/ScratchServer.h"

namespace Sandbox {

class StandInServer {
 public:
  StandInServer(const std::string& serverDir, const WorldPlan& world, const Terminal& terminal);
  ~StandInServer();
  StandInServer(const StandInServer&) = delete;
  StandInServer& operator=(const StandInServer&) = delete;

  // Loads the plugin library at `path`; throws std::runtime_error when it cannot.
  void LoadPlugin(const std::string& path);
  void UnloadPlugin();

  const std::string& Directory() const { return server_.Directory(); }
  const Roster& Players() const { return *roster_; }

 private:
  const Terminal& terminal_;
  StandIn::ScratchServer server_;  // the roster, declared after it, goes first
  std::optional<Roster> roster_;
};

}  // namespace Sandbox
