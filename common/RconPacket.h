// The Source RCON wire format: a packet is a little-endian 32-bit size (counting what follows),
// a 32-bit request id, a 32-bit type, the body and two zero bytes (the body's terminator and an
// empty second string). RconPacketReader cuts a byte stream into packets; it is pure (no I/O),
// so malformed input of any shape can be fed to it directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Rcon {

// Packet types. The value 2 means "execute a command" from a client and "auth answer" from the
// server.
constexpr int32_t kRconResponseValue = 0;
constexpr int32_t kRconExecCommand = 2;
constexpr int32_t kRconAuthResponse = 2;
constexpr int32_t kRconAuth = 3;

// The smallest and largest size field: id, type and two zero bytes; at most 4096 bytes.
constexpr int32_t kRconMinSize = 10;
constexpr int32_t kRconMaxSize = 4096;
// The longest body one packet carries.
constexpr std::size_t kRconMaxBody = kRconMaxSize - kRconMinSize;

struct RconPacket {
  int32_t Id = 0;
  int32_t Type = 0;
  std::string Body;  // without its terminator; never holds a zero byte

  bool operator==(const RconPacket& other) const {
    return Id == other.Id && Type == other.Type && Body == other.Body;
  }
};

// The bytes of `packet` on the wire. The body must be at most kRconMaxBody bytes without zero
// bytes; std::invalid_argument otherwise.
std::string EncodeRconPacket(const RconPacket& packet);

// Reassembles packets from a byte stream delivered in pieces of any size.
class RconPacketReader {
 public:
  struct Result {
    std::vector<RconPacket> Packets;  // every packet completed by the bytes fed, in order
    // Set when the stream is malformed (what is wrong, at which stream offset); the packets before
    // the fault are still in Packets, and every later Feed answers the same error with no packets.
    std::optional<std::string> Error;
  };

  Result Feed(std::string_view bytes);
  // Bytes of an incomplete packet waiting for the rest.
  std::size_t Pending() const { return pending_.size(); }

 private:
  std::string pending_;
  std::size_t consumed_ = 0;  // stream offset of pending_'s first byte
  std::optional<std::string> error_;
};

}  // namespace Rcon
