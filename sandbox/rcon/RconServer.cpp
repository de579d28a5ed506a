#include "sandbox/rcon/RconServer.h"

#include <stdexcept>

#include <fmt/format.h>

namespace Sandbox {

RconServer::RconServer(asio::io_context& io, const RconSettings& settings, GameRcon& host)
    : settings_(settings), host_(host), acceptor_(io) {
  try {
    const asio::ip::tcp::endpoint wanted(asio::ip::make_address(settings.Address), settings.Port);
    acceptor_.open(wanted.protocol());
    acceptor_.set_option(asio::ip::tcp::acceptor::reuse_address(true));
    acceptor_.bind(wanted);
    acceptor_.listen();
    endpoint_ = acceptor_.local_endpoint();
  } catch (const std::system_error& error) {
    throw std::runtime_error(fmt::format("RCON cannot listen on {}:{}: {}", settings.Address,
                                         settings.Port, error.code().message()));
  }
  Accept();
}

RconServer::~RconServer() {
  Stop();
}

void RconServer::Stop() {
  std::error_code ignored;
  acceptor_.close(ignored);
  for (auto& [id, session] : sessions_) {
    if (auto live = session.lock()) live->Close("the server is stopping");
  }
  sessions_.clear();
}

void RconServer::Accept() {
  acceptor_.async_accept([this](std::error_code error, asio::ip::tcp::socket socket) {
    if (error == asio::error::operation_aborted || !acceptor_.is_open()) return;
    if (!error) {
      if (LiveClients() >= settings_.MaxClients) {
        host_.Note(fmt::format("refused a connection: {} clients already", settings_.MaxClients));
        std::error_code ignored;
        socket.close(ignored);
      } else {
        auto session =
            std::make_shared<RconSession>(std::move(socket), ++lastId_, settings_, host_);
        sessions_[lastId_] = session;
        session->Start();
      }
    } else {
      host_.Note(fmt::format("accepting a connection failed: {}", error.message()));
    }
    Accept();
  });
}

std::size_t RconServer::LiveClients() {
  for (auto it = sessions_.begin(); it != sessions_.end();) {
    it = it->second.expired() ? sessions_.erase(it) : std::next(it);
  }
  return sessions_.size();
}

}  // namespace Sandbox
