// What the host's registries hold and do: console and RCON commands run as the server runs them,
// the detours installed on the game's functions, and a game function's own entry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host-bridge/GameTypes.h"
#include "standin/Api.h"

namespace StandIn {

class RconConnection;

// What the host's registries do when the server is handed a line or a request.
namespace Commands {

// Runs a console command line typed by `player` (null: the server console). False when no
// console command is registered under the line's first word; nothing runs then.
STANDIN_API bool RunConsole(const std::string& line, APlayerController* player);
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

}  // namespace Commands

namespace Hooks {

// Detours installed on `key`, the first installed first.
STANDIN_API std::vector<void*> Detours(const std::string& key);
// From now on every install is refused (answered false, nothing placed), as a host refuses a key
// it does not know; until the server stops.
STANDIN_API void RefuseInstalls();

}  // namespace Hooks

namespace FunctionTable {

// The game function's own entry, whatever is hooked on it; Fatal naming the key when the game has
// no such function.
STANDIN_API void* Function(const std::string& key);

}  // namespace FunctionTable

}  // namespace StandIn
