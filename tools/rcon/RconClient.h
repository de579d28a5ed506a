// A blocking RCON client for one server, every wait bounded: what questveto-rcon speaks. It
// accepts an authentication answered with the verdict alone or with an empty response first, and
// finds the end of a reply split over several packets by an empty response value sent after the
// command, which the server mirrors once the whole reply is out.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>

#include <asio.hpp>

#include "common/RconPacket.h"

namespace RconTool {

class RconClient {
 public:
  // `timeout` bounds each step: connecting, the authentication and each command.
  explicit RconClient(std::chrono::milliseconds timeout);

  // Each throws std::runtime_error saying what failed (a closed connection, no answer in time, a
  // malformed packet); the client is unusable afterwards.
  void Connect(const std::string& host, uint16_t port);
  // False when the server refuses the password.
  bool Authenticate(const std::string& password);
  // The reply to `command`: the bodies of every packet answering it, joined. A reply longer than
  // kMaxReply fails, so that a server cannot make the client hold without bound.
  std::string Execute(const std::string& command);
  static constexpr std::size_t kMaxReply = 1 << 20;

 private:
  using Completion = std::function<void(std::error_code)>;
  // Starts an asynchronous operation through `start`, which hands `Completion` to it, and waits
  // until the step's deadline for it to complete.
  std::error_code Await(const std::function<void(const Completion&)>& start);
  void Send(const Rcon::RconPacket& packet);
  // The next packet before the step's deadline.
  Rcon::RconPacket Receive();
  void BeginStep(const char* what);
  int32_t NextId() { return ++lastId_; }

  asio::io_context io_;
  asio::ip::tcp::resolver resolver_;
  asio::ip::tcp::socket socket_;
  Rcon::RconPacketReader reader_;
  std::deque<Rcon::RconPacket> packets_;  // received, not yet read
  // What is wrong with the stream, once the packets before the fault are read.
  std::optional<std::string> malformed_;
  std::chrono::milliseconds timeout_;
  std::chrono::steady_clock::time_point deadline_;
  std::string step_;  // what the client waits for, for errors
  int32_t lastId_ = 0;
};

}  // namespace RconTool
