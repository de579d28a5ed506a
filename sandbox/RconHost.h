// What an RCON listener asks of the server behind it. All calls come from the listener's one
// thread, the game's.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sandbox/RconPacket.h"

namespace Sandbox {

// Numbers the listener's clients, from 1, for the whole run.
using RconClientId = uint64_t;

class RconHost {
 public:
  virtual ~RconHost() = default;

  // Runs the command `body` that authenticated client `client` sent as request `requestId`, and
  // answers the packets to send back, in order (none when the command sent nothing).
  virtual std::vector<RconPacket> Execute(RconClientId client, int32_t requestId,
                                          const std::string& body) = 0;
  // `client` is gone; it sends nothing more.
  virtual void Disconnected(RconClientId client) = 0;
  // A line for the operator about the listener and its clients.
  virtual void Note(const std::string& text) = 0;
};

}  // namespace Sandbox
