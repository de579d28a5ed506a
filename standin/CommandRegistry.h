// The host's command registry: console and RCON commands kept by name, and their dispatch as the
// server does it: a command line goes to the handler registered under its first word. Its face
// (running a line or a request, the names) is in Registries.h.
#pragma once

#include "host-bridge/HostApi.h"
#include "standin/Registries.h"

namespace StandIn::Commands {

// The registry behind HostApi::GetCommands().
HostApi::ICommands& Registry();

// Runs the RCON command in `body` of `request` received on `connection`. False when no RCON
// command is registered under the body's first word; nothing runs then.
bool RunRcon(const std::string& body, RCONClientConnection* connection, RCONPacket* request);

// Forgets every command (a new server starts with none).
void Clear();

}  // namespace StandIn::Commands
