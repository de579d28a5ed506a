// One stand-in server for one benchmark run: a fresh server directory, the world, and the plugin
// loaded through the loader from the build tree, with its exported query resolved by name as
// another plugin would resolve it. The journal does not record: its cost is not the plugin's.
#pragma once

#include "host-bridge/FString.h"
#include "standin/ScratchServer.h"

class BenchServer : public StandIn::ScratchServer {
 public:
  using NameQuery = bool (*)(const FString& displayName);

  // Starts a server in a new temporary directory.
  BenchServer() : ScratchServer(Options().Fresh("qv-bench-")) {}

  // Loads the plugin; throws std::runtime_error when it cannot be loaded or lacks the query.
  void LoadPlugin();
  // QuestVeto::IsMissionDisabled(const FString&) of the loaded plugin.
  NameQuery Query() const { return query_; }

 private:
  NameQuery query_ = nullptr;
};
