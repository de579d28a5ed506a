#include "sandbox/StandInServer.h"

#include <fmt/format.h>
#include <spdlog/sinks/stdout_color_sinks.h>
#include <spdlog/sinks/stdout_sinks.h>

#include "standin/Server.h"

namespace Sandbox {

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
  UnloadPlugin();
}

void StandInServer::LoadPlugin(const std::string& path) {
  server_.LoadPlugin(path);
  terminal_.Line(fmt::format("Loaded plugin {}", path));
}

void StandInServer::UnloadPlugin() {
  if (server_.Plugin() == nullptr) return;
  const std::string path = server_.Plugin()->Path();
  server_.UnloadPlugin();
  terminal_.Line(fmt::format("Unloaded plugin {}", path));
}

}  // namespace Sandbox
