#include "standin/Server.h"

#include <filesystem>
#include <mutex>

#include <spdlog/sinks/basic_file_sink.h>

#include "host-bridge/Platform.h"
#include "standin/CallText.h"
#include "standin/CommandRegistry.h"
#include "standin/Fatal.h"
#include "standin/GameHeap.h"
#include "standin/HookRegistry.h"
#include "standin/LogJournal.h"
#include "standin/ServerFiles.h"
#include "standin/ServerState.h"

namespace StandIn {
namespace {

// The game heap is there from the moment the host library is loaded, before any server runs.
const bool heapFunctionsRegistered = (GameHeap::RegisterFunctions(), true);

}  // namespace

// The two paths come from the build, which hands the same to the tests written in Python. The
// config file's is written as the plugin writes it, with the system's separator.
std::string ConfigPathIn(const std::string& serverDir) {
  return Platform::NativeSeparators(serverDir + "/" + QV_CONFIG_FILE);
}

std::string LogPathIn(const std::string& serverDir) {
  return serverDir + "/" + QV_LOG_FILE;
}

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
  const std::filesystem::path logFile = std::filesystem::u8path(LogPathIn(serverDir));
  std::filesystem::create_directories(logFile.parent_path());
  state.Directory = serverDir;
  state.Sinks.clear();
  if (options.WriteLogFile) {
    state.Sinks.push_back(std::make_shared<spdlog::sinks::basic_file_sink_mt>(logFile.native()));
  }
  state.Sinks.push_back(std::make_shared<LogJournal>());
  Hooks::Clear();
  Commands::Clear();
  state.Game = std::make_unique<GameWorld>();
  CallText::NameWith(state.Game.get());
}

void Stop() {
  ServerState& state = RunningState();
  CallText::NameWith(nullptr);
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

GameWorld& CurrentWorld() {
  return *RunningState().Game;
}

World& RunningWorld() {
  return CurrentWorld();
}

}  // namespace StandIn
