#include "sandbox/console/Console.h"

#include <filesystem>
#include <fstream>
#include <variant>

#include <fmt/format.h>
#include <fmt/ranges.h>

#include "standin/Journal.h"
#include "standin/JournalViews.h"
#include "standin/Registries.h"

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
        if constexpr (std::is_same_v<decltype(v), bool>) {
          return v ? "true" : "false";
        } else {
          return fmt::format("{}", v);
        }
      },
      value);
}

// The command names separated by blanks; "none" for none.
std::string NamesOrNone(const std::vector<std::string>& names) {
  return names.empty() ? std::string("none") : fmt::format("{}", fmt::join(names, " "));
}

APlayerController* AsPlayerController(StandIn::Controller& controller) {
  return reinterpret_cast<APlayerController*>(controller.Object());
}

}  // namespace

Console::Console(const StandInServer& server, const Terminal& terminal, MessageFeed& feed,
                 bool echo)
    : server_(server),
      terminal_(terminal),
      feed_(feed),
      echo_(echo),
      commands_{{"help", &Console::Help},
                {"players", &Console::ListPlayers},
                {"missions", &Console::ListMissions},
                {"start", &Console::Start},
                {"kill", &Console::Kill},
                {"revive", &Console::Revive},
                {"data", &Console::ShowMissionData},
                {"messages", &Console::ShowMessages},
                {"as", &Console::RunAs},
                {"write-config", &Console::WriteConfig}} {}

bool Console::Execute(const std::string& line) {
  std::istringstream arguments(line);
  std::string word;
  arguments >> word;
  if (word.empty() || word[0] == '#') return true;
  if (echo_) terminal_.Line(fmt::format("> {}", line));
  if (word == "quit" || word == "exit") return false;
  auto command = commands_.find(word);
  if (command != commands_.end()) {
    (this->*command->second)(arguments);
  } else {
    RunRegistered(line);
  }
  feed_.Show(StandIn::Journal::Take());
  return true;
}

ConsoleNames Console::Names() const {
  ConsoleNames names;
  names.Registered = StandIn::Commands::Names();
  names.Commands = {"quit", "exit"};
  for (const auto& command : commands_) names.Commands.push_back(command.first);
  names.Commands.insert(names.Commands.end(), names.Registered.begin(), names.Registered.end());
  for (const Player& player : server_.Players().All()) names.Players.push_back(player.Name);
  for (const Mission& mission : server_.Players().Missions())
    names.Missions.push_back(mission.Name);
  return names;
}

void Console::Help(std::istringstream&) {
  terminal_.Line(
      "Commands:\n"
      "  players                      the players: alive or dead, controller, mission data\n"
      "  missions                     the missions of the world\n"
      "  start <player> <mission>     the player's character starts the mission\n"
      "  kill <player>, revive <player>\n"
      "  data <player>                the mission data written for the player's character\n"
      "  messages <player>            everything the player was sent\n"
      "  as <player> <command>        runs a plugin's console command as typed by the player\n"
      "  write-config <json>          replaces the plugin's config.json with <json>\n"
      "  help, quit\n"
      "Any other line goes to the console commands plugins registered; replies to the server\n"
      "console itself are not shown, use \"as\" to see them as a player would.");
  const std::vector<PluginCommands> byPlugin = server_.CommandsByPlugin();
  if (byPlugin.size() == 1) {
    terminal_.Line(fmt::format("Registered by plugins: {}", NamesOrNone(byPlugin[0].Commands)));
    return;
  }
  terminal_.Line("Registered by plugins:");
  for (const PluginCommands& plugin : byPlugin) {
    terminal_.Line(fmt::format("  {}: {}",
                               plugin.Plugin.empty() ? "registered after loading" : plugin.Plugin,
                               NamesOrNone(plugin.Commands)));
  }
}

void Console::ListPlayers(std::istringstream&) {
  for (const Player& player : server_.Players().All()) {
    StandIn::Character& character = *player.Character;
    terminal_.Line(fmt::format("  {:<10} {:<5} {:<13} {}", player.Name,
                               character.Dead() ? "dead" : "alive",
                               player.Controller ? "controller" : "no controller",
                               character.MissionData() ? "mission data" : "no mission data"));
  }
}

void Console::ListMissions(std::istringstream&) {
  for (const Mission& mission : server_.Players().Missions()) {
    terminal_.Line(fmt::format("  {:<20} version {}, tag {}", mission.Name,
                               mission.Class->Version(), mission.Class->Tag()));
  }
}

void Console::Start(std::istringstream& arguments) {
  const Player* player = NextPlayer(arguments);
  if (player == nullptr) return;
  const std::string missionName = Rest(arguments);
  const Mission* mission = server_.Players().FindMission(missionName);
  if (mission == nullptr) {
    terminal_.Line(fmt::format("No mission named \"{}\" (see missions)", missionName));
    return;
  }
  StandIn::RunningWorld().StartMission(mission->Class->Class(), player->Character->Object(), 0);
  const std::vector<StandIn::Journal::Entry> entries = StandIn::Journal::Take();
  const bool reachedGame = !StandIn::Journal::All<StandIn::Journal::GameStart>(entries).empty();
  terminal_.Line(reachedGame ? fmt::format("{} started \"{}\"", player->Name, mission->Name)
                             : fmt::format("The start of \"{}\" by {} was refused", mission->Name,
                                           player->Name));
  feed_.Show(entries);
}

void Console::Kill(std::istringstream& arguments) {
  if (const Player* player = NextPlayer(arguments)) {
    player->Character->SetDead(true);
    terminal_.Line(fmt::format("{} is dead", player->Name));
  }
}

void Console::Revive(std::istringstream& arguments) {
  if (const Player* player = NextPlayer(arguments)) {
    player->Character->SetDead(false);
    terminal_.Line(fmt::format("{} is alive", player->Name));
  }
}

void Console::ShowMissionData(std::istringstream& arguments) {
  const Player* player = NextPlayer(arguments);
  if (player == nullptr) return;
  StandIn::MissionDataBuff* data = player->Character->MissionData();
  if (data == nullptr) {
    terminal_.Line(fmt::format("{}'s character has no mission data buff", player->Name));
    return;
  }
  if (data->Entries().empty()) {
    terminal_.Line(fmt::format("{} has no mission data", player->Name));
    return;
  }
  for (const StandIn::MissionDataEntry& entry : data->Entries()) {
    terminal_.Line(fmt::format("  {} {} = {}", entry.Tag, entry.Entry, Describe(entry.Value)));
  }
  terminal_.Line(fmt::format("  replicated {} time(s)", feed_.Replications(data->Object())));
}

void Console::ShowMessages(std::istringstream& arguments) {
  if (const Player* player = NextPlayer(arguments)) feed_.ShowAll(*player);
}

void Console::RunAs(std::istringstream& arguments) {
  const Player* player = NextPlayer(arguments);
  if (player == nullptr) return;
  if (player->Controller == nullptr) {
    terminal_.Line(fmt::format("{} has no controller to type commands with", player->Name));
    return;
  }
  StandIn::Commands::Console(Rest(arguments), AsPlayerController(*player->Controller));
}

void Console::WriteConfig(std::istringstream& arguments) {
  const std::filesystem::path path =
      std::filesystem::u8path(StandIn::ConfigPathIn(server_.Directory()));
  std::filesystem::create_directories(path.parent_path());
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << Rest(arguments) << '\n';
  terminal_.Line(file.good() ? fmt::format("Wrote {}", path.u8string())
                             : fmt::format("Could not write {}", path.u8string()));
}

void Console::RunRegistered(const std::string& line) {
  const std::string answer = StandIn::Commands::Console(line, nullptr);
  if (!answer.empty()) {
    terminal_.Line(fmt::format("{} (try help)", answer));
    return;
  }
  // A plugin's command given here has no one to answer: say where answers go, once a run.
  if (replyRouteShown_) return;
  replyRouteShown_ = true;
  std::istringstream words(line);
  std::string command;
  words >> command;
  terminal_.Line(fmt::format(
      "No reply shows on the server console: a plugin answers a player in chat and an RCON\n"
      "client in its reply. To see one: \"as <player> {}\", or an RCON client (--rcon-port).",
      command));
}

const Player* Console::NextPlayer(std::istringstream& arguments) {
  std::string name;
  arguments >> name;
  const Player* player = server_.Players().FindPlayer(name);
  if (player == nullptr) {
    terminal_.Line(name.empty() ? std::string("Which player? (see players)")
                                : fmt::format("No player named \"{}\" (see players)", name));
  }
  return player;
}

}  // namespace Sandbox
