#include "sandbox/server/StandInServer.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include <fmt/format.h>
#include <spdlog/sinks/stdout_color_sinks.h>
#include <spdlog/sinks/stdout_sinks.h>

#include "standin/JournalViews.h"
#include "standin/Registries.h"

namespace Sandbox {
namespace {

// What the console and the RCON host show of the journal.
std::vector<std::string> ShownCalls() {
  using namespace StandIn::Journal;
  return KeysOf<Notification, ChatMessage, RconReply, Replication, GameStart>();
}

}  // namespace

StandInServer::StandInServer(const std::string& serverDir, const WorldPlan& world,
                             const Terminal& terminal)
    : terminal_(terminal),
      server_(StandIn::ScratchServer::Options().In(serverDir).Record(ShownCalls())) {
  // Plugins build their loggers over the host's sinks at load: the terminal joins them first.
  if (terminal.Colour()) {
    StandIn::AddLogSink(std::make_shared<spdlog::sinks::stdout_color_sink_mt>());
  } else {
    StandIn::AddLogSink(std::make_shared<spdlog::sinks::stdout_sink_mt>());
  }
  roster_.emplace(server_.World().Populate(world));
}

StandInServer::~StandInServer() {
  UnloadPlugins();
}

void StandInServer::LoadPlugin(const std::string& path) {
  // A library loaded twice would get a second process attach from the stand-in loader, which the
  // system loader never delivers.
  for (const LoadedPlugin& plugin : plugins_) {
    std::error_code unknown;
    if (std::filesystem::equivalent(std::filesystem::u8path(plugin.Library->Path()),
                                    std::filesystem::u8path(path), unknown)) {
      throw std::runtime_error(
          fmt::format("plugin {} is loaded already, as {}", path, plugin.Library->Path()));
    }
  }
  LoadedPlugin loaded{StandIn::PluginLibrary::Load(path), {}};
  loaded.Registered = StandIn::Commands::Names();
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
      if (still == unclaimed.end()) continue;  // removed since, or an earlier plugin's
      commands.Commands.push_back(name);
      unclaimed.erase(still);
    }
    listed.push_back(std::move(commands));
  }
  if (!unclaimed.empty()) listed.push_back({{}, std::move(unclaimed)});
  return listed;
}

}  // namespace Sandbox
