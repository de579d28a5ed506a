// The host's command registry: chat, console and RCON commands kept by name, and their dispatch
// as the server does it: a command line goes to the handler registered under its first word.
#pragma once

#include <string>

#include "host/HostApi.h"
#include "standin/Api.h"

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
// Runs a chat command ("/name ...") said by `player`. False when none has that name.
STANDIN_API bool RunChat(const std::string& line, AShooterPlayerController* player);
// Forgets every command (a new server starts with none).
void Clear();

}  // namespace StandIn::Commands
