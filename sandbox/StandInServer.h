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
#include "standin/PluginLoader.h"

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

  const std::string& Directory() const { return directory_; }
  const Roster& Players() const { return *roster_; }

 private:
  // The server runs from construction to destruction; this marks it, so that the roster and the
  // plugin, declared after it, go first.
  struct Running {
    explicit Running(const std::string& serverDir);
    ~Running();
  };

  std::string directory_;
  const Terminal& terminal_;
  Running running_;
  std::optional<Roster> roster_;
  std::unique_ptr<StandIn::PluginLibrary> plugin_;
};

}  // namespace Sandbox
