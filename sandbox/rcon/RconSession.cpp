#include "sandbox/rcon/RconSession.h"

#include <fmt/format.h>

namespace Sandbox {
namespace {

// The id an authentication answer carries when it refuses.
constexpr int32_t kRefused = -1;

std::string PeerOf(const asio::ip::tcp::socket& socket) {
  std::error_code error;
  const auto peer = socket.remote_endpoint(error);
  return error ? std::string("an unknown peer")
               : fmt::format("{}:{}", peer.address().to_string(), peer.port());
}

}  // namespace

RconSession::RconSession(asio::ip::tcp::socket socket, RconClientId id,
                         const RconSettings& settings, GameRcon& host)
    : socket_(std::move(socket)),
      idle_(socket_.get_executor()),
      id_(id),
      settings_(settings),
      host_(host) {}

RconSession::~RconSession() {
  host_.Disconnected(id_);
}

void RconSession::Start() {
  host_.Note(fmt::format("client #{} connected from {}", id_, PeerOf(socket_)));
  std::error_code ignored;
  socket_.set_option(asio::ip::tcp::no_delay(true), ignored);
  ArmIdleTimer();
  Read();
}

void RconSession::Close(const std::string& reason) {
  if (closed_) return;
  closed_ = true;
  std::error_code ignored;
  socket_.shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
  socket_.close(ignored);
  idle_.cancel();
  host_.Note(fmt::format("client #{} closed: {}", id_, reason));
}

void RconSession::Read() {
  if (closed_ || reading_) return;
  reading_ = true;
  socket_.async_read_some(asio::buffer(buffer_), [self = shared_from_this()](std::error_code error,
                                                                             std::size_t count) {
    self->reading_ = false;
    if (self->closed_) return;
    if (error) {
      const std::size_t unfinished = self->reader_.Pending();
      self->Close(error == asio::error::eof && unfinished == 0
                      ? std::string("the client disconnected")
                  : unfinished != 0
                      ? fmt::format("the client left a packet unfinished ({} bytes)", unfinished)
                      : error.message());
      return;
    }
    Rcon::RconPacketReader::Result result = self->reader_.Feed({self->buffer_.data(), count});
    for (const Rcon::RconPacket& packet : result.Packets) {
      if (self->closed_ || !self->closeAfterSending_.empty()) return;
      self->ArmIdleTimer();
      self->Handle(packet);
    }
    if (result.Error) return self->Close(*result.Error);
    if (!self->writing_) self->Read();
  });
}

void RconSession::Handle(const Rcon::RconPacket& packet) {
  if (packet.Type == Rcon::kRconAuth) return Authenticate(packet);
  if (!authenticated_) {
    Send({kRefused, Rcon::kRconAuthResponse, ""});
    return CloseAfterSending(fmt::format("packet of type {} before authentication", packet.Type));
  }
  switch (packet.Type) {
    case Rcon::kRconExecCommand:
      return Execute(packet);
    case Rcon::kRconResponseValue:
      // Clients send an empty response packet after a command to find where a reply split into
      // several packets ends: it is mirrored, and arrives after the whole reply.
      return Send({packet.Id, Rcon::kRconResponseValue, ""});
    default:
      return Close(fmt::format("unknown packet type {}", packet.Type));
  }
}

void RconSession::Authenticate(const Rcon::RconPacket& packet) {
  const bool granted = packet.Body == settings_.Password;
  const int32_t verdictId = granted ? packet.Id : kRefused;
  if (settings_.EmptyResponseFirst) Send({verdictId, Rcon::kRconResponseValue, ""});
  Send({verdictId, Rcon::kRconAuthResponse, ""});
  if (granted) {
    authenticated_ = true;
    host_.Note(fmt::format("client #{} authenticated", id_));
    return;
  }
  authenticated_ = false;
  ++failedAuths_;
  host_.Note(fmt::format("client #{} gave a wrong password", id_));
  if (failedAuths_ >= settings_.MaxFailedAuths) {
    CloseAfterSending(fmt::format("{} wrong passwords", failedAuths_));
  }
}

void RconSession::Execute(const Rcon::RconPacket& packet) {
  std::vector<Rcon::RconPacket> replies = host_.Execute(id_, packet.Id, packet.Body);
  // A command always gets an answer, empty when it sent nothing, so that a client waiting for
  // its request id is not left waiting.
  if (replies.empty()) replies.push_back({packet.Id, Rcon::kRconResponseValue, ""});
  for (Rcon::RconPacket& reply : replies) {
    // A zero byte would end the body early on the client's side.
    reply.Body = reply.Body.substr(0, reply.Body.find('\0'));
    // A long reply is split over several packets of the same id.
    std::size_t at = 0;
    do {
      Send({reply.Id, reply.Type, reply.Body.substr(at, Rcon::kRconMaxBody)});
      at += Rcon::kRconMaxBody;
    } while (at < reply.Body.size());
  }
}

void RconSession::Send(const Rcon::RconPacket& packet) {
  outgoing_.push_back(Rcon::EncodeRconPacket(packet));
  WriteNext();
}

void RconSession::WriteNext() {
  if (closed_ || writing_) return;
  if (outgoing_.empty()) {
    if (!closeAfterSending_.empty()) return Close(closeAfterSending_);
    return Read();
  }
  writing_ = true;
  asio::async_write(socket_, asio::buffer(outgoing_.front()),
                    [self = shared_from_this()](std::error_code error, std::size_t) {
                      self->writing_ = false;
                      if (self->closed_) return;
                      if (error) return self->Close(error.message());
                      self->outgoing_.pop_front();
                      self->WriteNext();
                    });
}

void RconSession::CloseAfterSending(const std::string& reason) {
  closeAfterSending_ = reason;
  WriteNext();
}

void RconSession::ArmIdleTimer() {
  idle_.expires_after(settings_.IdleTimeout);
  idle_.async_wait([self = shared_from_this()](std::error_code error) {
    if (error == asio::error::operation_aborted || self->closed_) return;
    // A wait that completed just before the timer was re-armed is not idleness.
    if (self->idle_.expiry() > asio::steady_timer::clock_type::now()) return;
    self->Close(fmt::format("idle for {} ms", self->settings_.IdleTimeout.count()));
  });
}

}  // namespace Sandbox
