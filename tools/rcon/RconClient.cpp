#include "tools/rcon/RconClient.h"

#include <array>

#include <fmt/format.h>

namespace RconTool {

using Rcon::RconPacket;

namespace {

// The id an authentication answer carries when it refuses.
constexpr int32_t kRefused = -1;

}  // namespace

RconClient::RconClient(std::chrono::milliseconds timeout)
    : resolver_(io_), socket_(io_), timeout_(timeout) {}

void RconClient::BeginStep(const char* what) {
  step_ = what;
  deadline_ = std::chrono::steady_clock::now() + timeout_;
}

std::error_code RconClient::Await(const std::function<void(const Completion&)>& start) {
  std::optional<std::error_code> result;
  start([&result](std::error_code error) { result = error; });
  io_.restart();
  io_.run_until(deadline_);
  if (result) return *result;
  std::error_code ignored;
  resolver_.cancel();
  socket_.close(ignored);
  io_.restart();
  io_.run();  // the cancelled operation completes here, while `result` still exists
  throw std::runtime_error(fmt::format("no answer to {} within {} ms", step_, timeout_.count()));
}

void RconClient::Connect(const std::string& host, uint16_t port) {
  BeginStep("the connection");
  asio::ip::tcp::resolver::results_type endpoints;
  std::error_code error = Await([&](const Completion& done) {
    resolver_.async_resolve(host, std::to_string(port),
                            [&endpoints, done](std::error_code failed, auto found) {
                              endpoints = std::move(found);
                              done(failed);
                            });
  });
  if (error) throw std::runtime_error(fmt::format("cannot resolve {}: {}", host, error.message()));
  error = Await([&](const Completion& done) {
    asio::async_connect(socket_, endpoints,
                        [done](std::error_code failed, const auto&) { done(failed); });
  });
  if (error) {
    throw std::runtime_error(
        fmt::format("cannot connect to {}:{}: {}", host, port, error.message()));
  }
  std::error_code ignored;
  socket_.set_option(asio::ip::tcp::no_delay(true), ignored);
}

bool RconClient::Authenticate(const std::string& password) {
  BeginStep("the authentication");
  const int32_t id = NextId();
  Send({id, Rcon::kRconAuth, password});
  for (;;) {
    const Rcon::RconPacket packet = Receive();
    // Servers written to the letter of the protocol send an empty response value first.
    if (packet.Type != Rcon::kRconAuthResponse) continue;
    if (packet.Id == id) return true;
    if (packet.Id == kRefused) return false;
    throw std::runtime_error(
        fmt::format("the authentication was answered under id {}, not {}", packet.Id, id));
  }
}

std::string RconClient::Execute(const std::string& command) {
  BeginStep("the command");
  const int32_t id = NextId();
  const int32_t end = NextId();
  Send({id, Rcon::kRconExecCommand, command});
  Send({end, Rcon::kRconResponseValue, ""});
  std::string reply;
  for (;;) {
    const Rcon::RconPacket packet = Receive();
    if (packet.Id == end) return reply;
    if (packet.Id != id) continue;
    if (reply.size() + packet.Body.size() > kMaxReply) {
      throw std::runtime_error(fmt::format("the reply is longer than {} bytes", kMaxReply));
    }
    reply += packet.Body;
  }
}

void RconClient::Send(const Rcon::RconPacket& packet) {
  const std::string bytes = Rcon::EncodeRconPacket(packet);
  const std::error_code error = Await([&](const Completion& done) {
    asio::async_write(socket_, asio::buffer(bytes),
                      [done](std::error_code failed, std::size_t) { done(failed); });
  });
  if (error) throw std::runtime_error(fmt::format("sending {} failed: {}", step_, error.message()));
}

Rcon::RconPacket RconClient::Receive() {
  while (packets_.empty()) {
    if (malformed_) {
      throw std::runtime_error(fmt::format("the server sent a malformed packet: {}", *malformed_));
    }
    std::array<char, Rcon::kRconMaxSize> buffer;
    std::size_t count = 0;
    const std::error_code error = Await([&](const Completion& done) {
      socket_.async_read_some(asio::buffer(buffer),
                              [&count, done](std::error_code failed, std::size_t read) {
                                count = read;
                                done(failed);
                              });
    });
    if (error == asio::error::eof) {
      throw std::runtime_error(fmt::format("the server closed the connection during {}", step_));
    }
    if (error) throw std::runtime_error(fmt::format("receiving failed: {}", error.message()));
    Rcon::RconPacketReader::Result result = reader_.Feed({buffer.data(), count});
    packets_.insert(packets_.end(), result.Packets.begin(), result.Packets.end());
    malformed_ = result.Error;
  }
  Rcon::RconPacket packet = std::move(packets_.front());
  packets_.pop_front();
  return packet;
}

}  // namespace RconTool
