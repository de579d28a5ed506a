#include "sandbox/StandInServer.h"

#include <fmt/format.h>
#include <spdlog/sinks/stdout_color_sinks.h>
#include <spdlog/sinks/stdout_sinks.h>

#include "standin/Journal.h"
#include "standin/Server.h"

namespace Sandbox {

StandInServer::Running::Running(const std::string& serverDir) {
  StandIn::Journal::Start();
  StandIn::Start(serverDir);
}

StandInServer::Running::~Running() {
  StandIn::Stop();
  StandIn::Journal::Stop();
}

StandInServer::StandInServer(const std::string& serverDir, const WorldPlan& world,
                             const Terminal& terminal)
    : directory_(serverDir), terminal_(terminal), running_(serverDir) {
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
  plugin_ = StandIn::PluginLibrary::Load(path);
  terminal_.Line(fmt::format("Loaded plugin {}", path));
}

void StandInServer::UnloadPlugin() {
  if (!plugin_) return;
  const std::string path = plugin_->Path();
  plugin_.reset();
  terminal_.Line(fmt::format("Unloaded plugin {}", path));
}

}  // namespace Sandbox
