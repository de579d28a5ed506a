// One stand-in server for one benchmark run: a fresh server directory, the world, and the plugin
// loaded through the loader from the build tree, with its exported query resolved by name as
// another plugin would resolve it.
#pragma once

#include <memory>
#include <string>

#include "host/FString.h"
#include "standin/PluginLoader.h"
#include "standin/World.h"

class BenchServer {
 public:
  using NameQuery = bool (*)(const FString& displayName);

  // Starts a server in a new temporary directory.
  BenchServer();
  // Unloads the plugin, stops the server and removes its directory.
  ~BenchServer();
  BenchServer(const BenchServer&) = delete;
  BenchServer& operator=(const BenchServer&) = delete;

  // <server dir>/HostApi/Plugins/QuestVeto/config.json
  std::string ConfigPath() const;
  // Replaces the file at ConfigPath().
  void WriteConfig(const std::string& text);
  // Loads the plugin; throws std::runtime_error when it cannot be loaded or lacks the query.
  void LoadPlugin();

  // QuestVeto::IsMissionDisabled(const FString&) of the loaded plugin.
  NameQuery Query() const { return query_; }
  StandIn::World& World();

 private:
  std::string directory_;
  std::unique_ptr<StandIn::PluginLibrary> plugin_;
  NameQuery query_ = nullptr;
};
