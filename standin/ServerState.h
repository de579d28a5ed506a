// The running stand-in server's state, shared by the host functions inside the host library.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <spdlog/sinks/sink.h>

#include "standin/GameWorld.h"

namespace StandIn {

struct ServerState {
  std::string Directory;
  std::vector<std::shared_ptr<spdlog::sinks::sink>> Sinks;  // what GetLogSinks() returns
  std::unique_ptr<GameWorld> Game;
};

// The state, running or not.
ServerState& State();
// The state of the running server; Fatal when none runs.
ServerState& RunningState();

}  // namespace StandIn
