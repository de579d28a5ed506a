// One RCON client connection: the protocol as a server speaks it. Nothing but authentication is
// accepted before a successful authentication; a malformed packet, a command before
// authentication, too many wrong passwords and idleness end this connection only. Replies are
// written one packet per write, and the connection reads nothing more while replies wait to be
// written, so a client that does not read cannot make the server queue without bound.
#pragma once

#include <array>
#include <deque>
#include <memory>
#include <string>

#include <asio.hpp>

#include "sandbox/rcon/GameRcon.h"
#include "common/RconPacket.h"
#include "sandbox/rcon/RconSettings.h"

namespace Sandbox {

class RconSession : public std::enable_shared_from_this<RconSession> {
 public:
  // `host` must outlive every handler of the socket's io_context.
  RconSession(asio::ip::tcp::socket socket, RconClientId id, const RconSettings& settings,
              GameRcon& host);
  ~RconSession();

  void Start();
  // Closes the connection at once; `reason` goes to the operator.
  void Close(const std::string& reason);

 private:
  void Read();
  void Handle(const Rcon::RconPacket& packet);
  void Authenticate(const Rcon::RconPacket& packet);
  void Execute(const Rcon::RconPacket& packet);
  void Send(const Rcon::RconPacket& packet);
  void WriteNext();
  // Closes once every queued packet is written.
  void CloseAfterSending(const std::string& reason);
  void ArmIdleTimer();

  asio::ip::tcp::socket socket_;
  asio::steady_timer idle_;
  RconClientId id_;
  RconSettings settings_;
  GameRcon& host_;
  Rcon::RconPacketReader reader_;
  std::array<char, Rcon::kRconMaxSize> buffer_;
  std::deque<std::string> outgoing_;
  bool reading_ = false;
  bool writing_ = false;
  bool authenticated_ = false;
  bool closed_ = false;
  std::string closeAfterSending_;  // the reason, when a close waits for the queue to drain
  int failedAuths_ = 0;
};

}  // namespace Sandbox
