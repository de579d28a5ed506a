// The operator's sandbox: a stand-in dedicated server with players and missions, driven by
// console lines. It shows what players would see (notifications, chat) and what the plugins log.
#pragma once

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "standin/PluginLoader.h"
#include "standin/World.h"

namespace Sandbox {

struct Player {
  StandIn::Controller* Controller;
  StandIn::Character* Character;
};

class Server {
 public:
  // Starts the stand-in server in `serverDir` with the default world and writes its output
  // (colour when `colour`) to `out`.
  Server(const std::string& serverDir, std::FILE* out, bool colour);
  ~Server();

  void LoadPlugin(const std::string& path);
  // Runs one console line; false when it asks the server to stop.
  bool Execute(const std::string& line);

 private:
  void Help();
  void ListPlayers();
  void ListMissions();
  void Start(const std::string& playerName, const std::string& missionName);
  void ShowMissionData(const std::string& playerName);
  void ShowMessages(const std::string& playerName);
  void WriteConfig(const std::string& text);
  void ShowNewMessages();
  Player* FindPlayer(const std::string& name);
  void Say(const std::string& text);

  std::string serverDir_;
  std::FILE* out_;
  bool colour_;
  std::map<std::string, Player> players_;
  std::map<StandIn::Controller*, std::size_t> shownNotifications_;
  std::map<StandIn::Controller*, std::size_t> shownChat_;
  std::unique_ptr<StandIn::PluginLibrary> plugin_;
};

}  // namespace Sandbox
