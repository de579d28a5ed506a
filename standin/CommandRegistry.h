// The host's command registry: console and RCON commands kept by name, and their dispatch
// as the server does it: a command line goes to the handler registered under its first word.
// Console and Rcon are what the server does with a typed line or a received request, the host's
// answer to an unknown command included; the Run* functions only dispatch.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/HostApi.h"
#include "standin/Api.h"

namespace StandIn {
class RconConnection;
}

namespace StandIn::Commands {

// The registry behind HostApi::GetCommands().
HostApi::ICommands& Registry();

// Runs a console command line typed by `player` (null: the server console). False when no
// console command is registered under the line's first word; nothing runs then.
STANDIN_API bool RunConsole(const std::string& line, APlayerController* player);
// Runs the RCON command in `body` of `request` received on `connection`. False when no RCON
// command is registered under the body's first word; nothing runs then.
STANDIN_API bool RunRcon(const std::string& body, RCONClientConnection* connection,
                         RCONPacket* request);
// The names of every registered command, console and RCON, sorted, each once.
STANDIN_API std::vector<std::string> Names();

// The server's handling of a console line typed by `player` (null: the server console). Empty
// when a registered command ran or the line is blank; otherwise the host's answer
// "Unknown command: <first word>", which a player also gets as a chat message through the game's
// "AShooterPlayerController.ClientServerChatDirectMessage".
STANDIN_API std::string Console(const std::string& line, APlayerController* player);
// The server's handling of an RCON request: `connection` receives the packet (`requestId`,
// `body`) and the command runs. Empty when a registered command ran or the body is blank;
// otherwise the host's answer "Unknown command: <first word>", which also goes back to the client
// through the game's "RCONClientConnection.SendMessageW" under `requestId`.
STANDIN_API std::string Rcon(RconConnection& connection, int32_t requestId,
                             const std::string& body);

// Forgets every command (a new server starts with none).
void Clear();

}  // namespace StandIn::Commands
