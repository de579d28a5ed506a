// The RCON listener: accepts TCP clients on the configured address and port and gives each an
// RconSession. It runs on one io_context, whose thread is the only one that calls the host.
#pragma once

#include <map>
#include <memory>

#include <asio.hpp>

#include "sandbox/rcon/GameRcon.h"
#include "sandbox/rcon/RconSession.h"
#include "sandbox/rcon/RconSettings.h"

namespace Sandbox {

class RconServer {
 public:
  // Listens at once; throws std::runtime_error naming the address and port when it cannot.
  // `host` must outlive every handler of `io`.
  RconServer(asio::io_context& io, const RconSettings& settings, GameRcon& host);
  ~RconServer();
  RconServer(const RconServer&) = delete;
  RconServer& operator=(const RconServer&) = delete;

  // Where it listens, with the port chosen when the settings asked for any.
  asio::ip::tcp::endpoint Endpoint() const { return endpoint_; }
  // Stops listening and closes every client.
  void Stop();

 private:
  void Accept();
  std::size_t LiveClients();

  RconSettings settings_;
  GameRcon& host_;
  asio::ip::tcp::acceptor acceptor_;
  asio::ip::tcp::endpoint endpoint_;
  RconClientId lastId_ = 0;
  std::map<RconClientId, std::weak_ptr<RconSession>> sessions_;
};

}  // namespace Sandbox
