// The server behind the RCON listener: RCON commands as the stand-in game runs them. Each client
// has its own game-side connection, a request goes through the host's command registry (a
// registered RCON command, or the host's "Unknown command" answer), and the replies the game was
// told to send on that connection, as the journal has them (Journal::RconReply), become the
// response packets, under the id the sender gave. All calls come from the listener's one thread,
// the game's.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sandbox/server/MessageFeed.h"
#include "common/RconPacket.h"
#include "sandbox/server/Terminal.h"
#include "standin/GameObjects.h"

namespace Sandbox {

// Numbers the listener's clients, from 1, for the whole run.
using RconClientId = uint64_t;

class GameRcon {
 public:
  // `feed`, when given, is handed every journal entry a command made, to show what players were
  // sent; without it they are dropped. The journal must record.
  GameRcon(const Terminal& terminal, MessageFeed* feed) : terminal_(terminal), feed_(feed) {}

  // Runs the command `body` that authenticated client `client` sent as request `requestId`, and
  // answers the packets to send back, in order (none when the command sent nothing).
  std::vector<Rcon::RconPacket> Execute(RconClientId client, int32_t requestId, const std::string& body);
  // `client` is gone; it sends nothing more.
  void Disconnected(RconClientId client);
  // A line for the operator about the listener and its clients.
  void Note(const std::string& text);

 private:
  const Terminal& terminal_;
  MessageFeed* feed_;
  // The game-side connection of each client, closed when the client disconnects.
  std::map<RconClientId, StandIn::RconConnection*> connections_;
};

}  // namespace Sandbox
