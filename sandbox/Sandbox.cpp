#include "sandbox/Sandbox.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <variant>

#include <fmt/color.h>
#include <fmt/format.h>
#include <spdlog/sinks/stdout_color_sinks.h>
#include <spdlog/sinks/stdout_sinks.h>

#include "standin/CommandRegistry.h"
#include "standin/Server.h"

namespace Sandbox {
namespace {

std::string Rest(std::istringstream& words) {
  std::string rest;
  std::getline(words >> std::ws, rest);
  return rest;
}

std::string Describe(const std::variant<bool, int32_t, double>& value) {
  return std::visit(
      [](auto v) -> std::string {
        if constexpr (std::is_same_v<decltype(v), bool>) return v ? "true" : "false";
        else return fmt::format("{}", v);
      },
      value);
}

fmt::rgb ToRgb(const LinearColor& colour) {
  auto channel = [](float c) { return static_cast<uint8_t>(c >= 1.0f ? 255 : c <= 0 ? 0 : c * 255); };
  return fmt::rgb(channel(colour.R), channel(colour.G), channel(colour.B));
}

}  // namespace

Server::Server(const std::string& serverDir, std::FILE* out, bool colour)
    : serverDir_(serverDir), out_(out), colour_(colour) {
  StandIn::Start(serverDir);
  if (colour) {
    StandIn::AddLogSink(std::make_shared<spdlog::sinks::stdout_color_sink_mt>());
  } else {
    StandIn::AddLogSink(std::make_shared<spdlog::sinks::stdout_sink_mt>());
  }
  StandIn::World& world = StandIn::CurrentWorld();
  world.AddMission("Hunt", 3, "MissionHunt");
  world.AddMission("The Great Hunt", 1, "MissionGreatHunt");
  world.AddMission("Race to the Summit", 2, "MissionRaceSummit");
  world.AddMission("Gather Wood", 1, "MissionGatherWood");
  for (const char* name : {"Bob", "Alice", "Mira"}) {
    StandIn::Controller& controller = world.AddController(name);
    players_[name] = {&controller, &world.AddCharacter(&controller, nullptr, true)};
  }
}

Server::~Server() {
  plugin_.reset();
  StandIn::Stop();
}

void Server::LoadPlugin(const std::string& path) {
  plugin_ = StandIn::PluginLibrary::Load(path);
  Say(fmt::format("Loaded plugin {}", path));
}

bool Server::Execute(const std::string& line) {
  std::istringstream words(line);
  std::string command;
  words >> command;
  if (command.empty() || command[0] == '#') return true;
  fmt::print(out_, "> {}\n", line);
  std::fflush(out_);
  if (command == "quit" || command == "exit") return false;
  if (command == "help") {
    Help();
  } else if (command == "players") {
    ListPlayers();
  } else if (command == "missions") {
    ListMissions();
  } else if (command == "start") {
    std::string player;
    words >> player;
    Start(player, Rest(words));
  } else if (command == "kill" || command == "revive") {
    if (Player* player = FindPlayer(Rest(words))) player->Character->SetDead(command == "kill");
  } else if (command == "data") {
    ShowMissionData(Rest(words));
  } else if (command == "messages") {
    ShowMessages(Rest(words));
  } else if (command == "write-config") {
    WriteConfig(Rest(words));
  } else if (!StandIn::Commands::RunConsole(line, nullptr)) {
    Say(fmt::format("Unknown command: {} (try help)", command));
  }
  ShowNewMessages();
  return true;
}

void Server::Help() {
  Say("Commands:\n"
      "  players                      the players and their state\n"
      "  missions                     the missions of the world\n"
      "  start <player> <mission>     the player starts the mission\n"
      "  kill <player>, revive <player>\n"
      "  data <player>                the player's mission data\n"
      "  messages <player>            everything the player was shown\n"
      "  write-config <json>          replaces the plugin's config.json\n"
      "  quit\n"
      "Any other line goes to the commands plugins registered, such as qv.reload.");
}

void Server::ListPlayers() {
  for (const auto& [name, player] : players_) {
    Say(fmt::format("  {:<8} {}", name, player.Character->Dead() ? "dead" : "alive"));
  }
}

void Server::ListMissions() {
  // FindMission answers exact names only, so the world is asked for each known one.
  for (const char* name : {"Hunt", "The Great Hunt", "Race to the Summit", "Gather Wood"}) {
    if (StandIn::MissionClass* mission = StandIn::CurrentWorld().FindMission(name)) {
      Say(fmt::format("  {:<20} version {}, tag {}", mission->DisplayName(), mission->Version(),
                      mission->Tag()));
    }
  }
}

void Server::Start(const std::string& playerName, const std::string& missionName) {
  Player* player = FindPlayer(playerName);
  StandIn::World& world = StandIn::CurrentWorld();
  StandIn::MissionClass* mission = world.FindMission(missionName);
  if (player == nullptr) return;
  if (mission == nullptr) {
    Say(fmt::format("No mission named \"{}\" (see missions)", missionName));
    return;
  }
  const std::size_t startsBefore = world.GameStarts().size();
  world.StartMission(mission->Class(), player->Character->Object(), 0);
  Say(world.GameStarts().size() > startsBefore
          ? fmt::format("{} started \"{}\"", playerName, missionName)
          : fmt::format("The start of \"{}\" by {} was refused", missionName, playerName));
}

void Server::ShowMissionData(const std::string& playerName) {
  Player* player = FindPlayer(playerName);
  if (player == nullptr) return;
  StandIn::MissionDataBuff* data = player->Character->MissionData();
  if (data == nullptr || data->Writes().empty()) {
    Say(fmt::format("{} has no mission data", playerName));
    return;
  }
  for (const StandIn::MissionDataWrite& write : data->Writes()) {
    Say(fmt::format("  {} {} = {}", write.Tag, write.Entry, Describe(write.Value)));
  }
  Say(fmt::format("  replicated {} time(s)", data->Replications()));
}

void Server::ShowMessages(const std::string& playerName) {
  Player* player = FindPlayer(playerName);
  if (player == nullptr) return;
  shownNotifications_[player->Controller] = 0;
  shownChat_[player->Controller] = 0;
}

void Server::WriteConfig(const std::string& text) {
  const std::filesystem::path path =
      std::filesystem::path(serverDir_) / "HostApi/Plugins/QuestVeto/config.json";
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::trunc) << text << '\n';
  Say(fmt::format("Wrote {}", path.string()));
}

// Prints what players were shown since the last command, in the colour they saw it.
void Server::ShowNewMessages() {
  for (auto& [name, player] : players_) {
    const auto& notifications = player.Controller->Notifications();
    for (std::size_t& i = shownNotifications_[player.Controller]; i < notifications.size(); ++i) {
      const StandIn::Notification& n = notifications[i];
      const std::string text = fmt::format("[notification to {}] {}", name, n.Text);
      Say(colour_ ? fmt::format(fmt::fg(ToRgb(n.Color)), "{}", text) : text);
    }
    const auto& chat = player.Controller->Chat();
    for (std::size_t& i = shownChat_[player.Controller]; i < chat.size(); ++i) {
      const std::string text = fmt::format("[chat to {}] {}", name, chat[i].Text);
      Say(colour_ ? fmt::format(fmt::fg(ToRgb(chat[i].Color)), "{}", text) : text);
    }
  }
}

Player* Server::FindPlayer(const std::string& name) {
  auto found = players_.find(name);
  if (found != players_.end()) return &found->second;
  Say(fmt::format("No player named \"{}\" (see players)", name));
  return nullptr;
}

void Server::Say(const std::string& text) {
  fmt::print(out_, "{}\n", text);
  std::fflush(out_);
}

}  // namespace Sandbox
