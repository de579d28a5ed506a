#include "standin/Server.h"

#include <filesystem>
#include <mutex>

#include <spdlog/sinks/basic_file_sink.h>

#include "standin/CommandRegistry.h"
#include "standin/Fatal.h"
#include "standin/GameHeap.h"
#include "standin/HookRegistry.h"
#include "standin/LogJournal.h"
#include "standin/ServerState.h"

namespace StandIn {
namespace {

// The game heap is there from the moment the host library is loaded, before any server runs.
const bool heapFunctionsRegistered = (GameHeap::RegisterFunctions(), true);

}  // namespace

ServerState& State() {
  static ServerState state;
  return state;
}

ServerState& RunningState() {
  ServerState& state = State();
  if (!state.Game) Fatal("no stand-in server is running (StandIn::Start was not called)");
  return state;
}

void Start(const std::string& serverDir, const ServerOptions& options) {
  ServerState& state = State();
  if (state.Game) Fatal("a stand-in server already runs in " + state.Directory);
  // The directory is UTF-8 text, as GetCurrentDir hands it on.
  const std::filesystem::path logDir = std::filesystem::u8path(serverDir) / "HostApi" / "Logs";
  std::filesystem::create_directories(logDir);
  state.Directory = serverDir;
  state.Sinks.clear();
  if (options.WriteLogFile) {
    state.Sinks.push_back(
        std::make_shared<spdlog::sinks::basic_file_sink_mt>((logDir / "Server.log").native()));
  }
  state.Sinks.push_back(std::make_shared<LogJournal>());
  Hooks::Clear();
  Commands::Clear();
  state.Game = std::make_unique<World>();
}

void Stop() {
  ServerState& state = RunningState();
  state.Game.reset();
  Hooks::Clear();
  Commands::Clear();
  state.Sinks.clear();
  state.Directory.clear();
}

bool Running() {
  return State().Game != nullptr;
}

void AddLogSink(std::shared_ptr<spdlog::sinks::sink> sink) {
  RunningState().Sinks.push_back(std::move(sink));
}

World& CurrentWorld() {
  return *RunningState().Game;
}

}  // namespace StandIn
