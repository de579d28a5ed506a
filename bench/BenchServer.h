// One stand-in server for one benchmark run: a fresh server directory, the world, and the plugin
// loaded through the loader from the build tree, with its exported query resolved by name as
// another plugin would resolve it. The journal does not record: its cost is not the plugin's.
#pragma once

#include <string>

#include "host/FString.h"
#include "standin/ScratchServer.h"

class BenchServer {
 public:
  using NameQuery = bool (*)(const FString& displayName);

  // Starts a server in a new temporary directory.
  BenchServer() : server_({{}, "qv-bench-", {}, {}, false, {}}) {}

  // <server dir>/HostApi/Plugins/QuestVeto/config.json
  std::string ConfigPath() const { return server_.ConfigPath(); }
  // Replaces the file at ConfigPath().
  void WriteConfig(const std::string& text) const { server_.WriteConfig(text); }
  // Loads the plugin; throws std::runtime_error when it cannot be loaded or lacks the query.
  void LoadPlugin();

  // QuestVeto::IsMissionDisabled(const FString&) of the loaded plugin.
  NameQuery Query() const { return query_; }
  StandIn::World& World() { return server_.World(); }

 private:
  StandIn::ScratchServer server_;
  NameQuery query_ = nullptr;
};
