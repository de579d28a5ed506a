// RCON commands as the stand-in game runs them: each client has its own game-side connection,
// a request goes through the host's command registry (a registered RCON command, or the host's
// "Unknown command" answer), and what the game was told to send on that connection through
// "RCONClientConnection.SendMessageW", as the journal has it, becomes the response packets, under
// the id the sender gave.
#pragma once

#include <map>

#include "sandbox/MessageFeed.h"
#include "sandbox/RconHost.h"
#include "sandbox/Terminal.h"
#include "standin/World.h"

namespace Sandbox {

class GameRcon final : public RconHost {
 public:
  // `feed`, when given, is handed every journal entry a command made, to show what players were
  // sent; without it they are dropped. The journal must record.
  GameRcon(const Terminal& terminal, MessageFeed* feed) : terminal_(terminal), feed_(feed) {}

  std::vector<RconPacket> Execute(RconClientId client, int32_t requestId,
                                  const std::string& body) override;
  void Disconnected(RconClientId client) override;
  void Note(const std::string& text) override;

 private:
  const Terminal& terminal_;
  MessageFeed* feed_;
  // The game-side connection of each client, closed when the client disconnects.
  std::map<RconClientId, StandIn::RconConnection*> connections_;
};

}  // namespace Sandbox
