// How the RCON listener listens and guards itself.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace Sandbox {

struct RconSettings {
  std::string Address = "127.0.0.1";
  uint16_t Port = 0;  // 0: any free port
  std::string Password;
  // A client that completes no packet for this long is disconnected.
  std::chrono::milliseconds IdleTimeout = std::chrono::minutes(5);
  // Connections beyond this many are closed as soon as they are accepted.
  std::size_t MaxClients = 16;
  // A connection is closed after this many wrong passwords.
  int MaxFailedAuths = 3;
  // How an authentication is answered. By default with the verdict packet alone, as many game
  // servers do: clients that read one packet per TCP read, or that take the first packet after
  // their request for the verdict, then see it. When set, an empty response value comes first, as
  // clients written to the letter of the protocol expect; it carries the verdict's id (-1 for a
  // refusal), so a client that takes it for the verdict still reads a refusal.
  bool EmptyResponseFirst = false;
};

}  // namespace Sandbox
