// The server console: the host's own commands (players, missions, starting a mission as a player,
// killing and reviving, mission data, messages, config edits, help, quit), and every other line
// dispatched through the host's command registry to the console commands plugins registered.
// After each line it shows what players were sent.
#pragma once

#include <functional>
#include <map>
#include <sstream>
#include <string>

#include "sandbox/console/Completion.h"
#include "sandbox/server/MessageFeed.h"
#include "sandbox/server/StandInServer.h"
#include "sandbox/server/Terminal.h"

namespace Sandbox {

class Console {
 public:
  // `echo` repeats each line before its output, for input that is not typed on a terminal.
  Console(const StandInServer& server, const Terminal& terminal, MessageFeed& feed, bool echo);

  // Runs one console line; false when it asks the server to stop.
  bool Execute(const std::string& line);

  // The names a line can be completed with, as they stand now.
  ConsoleNames Names() const;

 private:
  using Command = void (Console::*)(std::istringstream& arguments);

  void Help(std::istringstream& arguments);
  void ListPlayers(std::istringstream& arguments);
  void ListMissions(std::istringstream& arguments);
  void Start(std::istringstream& arguments);
  void Kill(std::istringstream& arguments);
  void Revive(std::istringstream& arguments);
  void ShowMissionData(std::istringstream& arguments);
  void ShowMessages(std::istringstream& arguments);
  void RunAs(std::istringstream& arguments);
  void WriteConfig(std::istringstream& arguments);
  void RunRegistered(const std::string& line);

  // The player named by the next word; null, with a message, when there is none.
  const Player* NextPlayer(std::istringstream& arguments);

  const StandInServer& server_;
  const Terminal& terminal_;
  MessageFeed& feed_;
  bool echo_;
  // Whether the console said where the replies to a plugin command go.
  bool replyRouteShown_ = false;
  std::map<std::string, Command> commands_;
};

}  // namespace Sandbox
