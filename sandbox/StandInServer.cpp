#include "sandbox/StandInServer.h"

#include <algorithm>
#include <iterator>

#include <fmt/format.h>
#include <spdlog/sinks/stdout_color_sinks.h>
#include <spdlog/sinks/stdout_sinks.h>

#include "standin/CommandRegistry.h"
#include "standin/Server.h"

namespace Sandbox {
namespace {

// The sorted names in `after` that are not in the sorted `before`.
std::vector<std::string> Added(const std::vector<std::string>& before,
                               const std::vector<std::string>& after) {
  std::vector<std::string> added;
  std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                      std::back_inserter(added));
  return added;
}

}  // namespace

StandInServer::StandInServer(const std::string& serverDir, const WorldPlan& world,
                             const Terminal& terminal)
    : terminal_(terminal),
      server_({serverDir,
               {},
               {},
               {},
               true,
               // What the console and the RCON host show of the journal.
               {"AShooterPlayerController.ClientServerSOTFNotificationCustom",
                "AShooterPlayerController.ClientServerChatDirectMessage",
                "RCONClientConnection.SendMessageW", "AActor.ForceReplicateNow",
                "AMissionDispatcher.StartMission"}}) {
  // Plugins build their loggers over the host's sinks at load: the terminal joins them first.
  if (terminal.Colour()) {
    StandIn::AddLogSink(std::make_shared<spdlog::sinks::stdout_color_sink_mt>());
  } else {
    StandIn::AddLogSink(std::make_shared<spdlog::sinks::stdout_sink_mt>());
  }
  roster_.emplace(world);
}

StandInServer::~StandInServer() {
  UnloadPlugins();
}

void StandInServer::LoadPlugin(const std::string& path) {
  const std::vector<std::string> before = StandIn::Commands::Names();
  LoadedPlugin loaded{StandIn::PluginLibrary::Load(path), {}};
  loaded.Registered = Added(before, StandIn::Commands::Names());
  plugins_.push_back(std::move(loaded));
  terminal_.Line(fmt::format("Loaded plugin {}", path));
}

void StandInServer::UnloadPlugins() {
  while (!plugins_.empty()) {
    const std::string path = plugins_.back().Library->Path();
    plugins_.pop_back();
    terminal_.Line(fmt::format("Unloaded plugin {}", path));
  }
}

std::vector<PluginCommands> StandInServer::CommandsByPlugin() const {
  std::vector<std::string> unclaimed = StandIn::Commands::Names();
  std::vector<PluginCommands> listed;
  for (const LoadedPlugin& plugin : plugins_) {
    PluginCommands commands{plugin.Library->Path(), {}};
    for (const std::string& name : plugin.Registered) {
      const auto still = std::find(unclaimed.begin(), unclaimed.end(), name);
      if (still == unclaimed.end()) continue;  // removed since, or claimed by an earlier plugin
      commands.Commands.push_back(name);
      unclaimed.erase(still);
    }
    listed.push_back(std::move(commands));
  }
  if (!unclaimed.empty()) listed.push_back({{}, std::move(unclaimed)});
  return listed;
}

}  // namespace Sandbox
