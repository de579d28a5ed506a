#include "common/RconPacket.h"

#include <stdexcept>

#include <fmt/format.h>

namespace Rcon {
namespace {

constexpr std::size_t kSizeField = 4;

void AppendInt32(std::string& out, int32_t value) {
  const auto bits = static_cast<uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8)
    out.push_back(static_cast<char>(bits >> shift & 0xFF));
}

int32_t ReadInt32(std::string_view bytes, std::size_t at) {
  uint32_t bits = 0;
  for (int i = 3; i >= 0; --i) bits = bits << 8 | static_cast<unsigned char>(bytes[at + i]);
  return static_cast<int32_t>(bits);
}

// What is wrong with the bytes that follow a packet's size field, or nothing.
std::string CheckTerminators(std::string_view rest) {
  const std::string_view tail = rest.substr(rest.size() - 2);
  if (tail[0] != '\0' || tail[1] != '\0') return "the packet does not end with two zero bytes";
  const std::string_view body = rest.substr(8, rest.size() - 10);
  const auto zero = body.find('\0');
  if (zero != std::string_view::npos) {
    return fmt::format("the body holds a zero byte at offset {}", zero);
  }
  return {};
}

}  // namespace

std::string EncodeRconPacket(const RconPacket& packet) {
  if (packet.Body.size() > kRconMaxBody) {
    throw std::invalid_argument(fmt::format("an RCON body holds at most {} bytes, not {}",
                                            kRconMaxBody, packet.Body.size()));
  }
  if (packet.Body.find('\0') != std::string::npos) {
    throw std::invalid_argument("an RCON body cannot hold a zero byte");
  }
  std::string out;
  out.reserve(kSizeField + kRconMinSize + packet.Body.size());
  AppendInt32(out, static_cast<int32_t>(kRconMinSize + packet.Body.size()));
  AppendInt32(out, packet.Id);
  AppendInt32(out, packet.Type);
  out += packet.Body;
  out.append(2, '\0');
  return out;
}

RconPacketReader::Result RconPacketReader::Feed(std::string_view bytes) {
  Result result;
  if (error_) {
    result.Error = error_;
    return result;
  }
  pending_.append(bytes);
  std::size_t at = 0;
  while (pending_.size() - at >= kSizeField) {
    const int32_t size = ReadInt32(pending_, at);
    if (size < kRconMinSize || size > kRconMaxSize) {
      error_ = fmt::format("packet at byte {}: size {} is outside {}..{}", consumed_ + at, size,
                           kRconMinSize, kRconMaxSize);
      break;
    }
    if (pending_.size() - at - kSizeField < static_cast<std::size_t>(size)) break;
    const std::string_view rest = std::string_view(pending_).substr(at + kSizeField, size);
    if (std::string fault = CheckTerminators(rest); !fault.empty()) {
      error_ = fmt::format("packet at byte {}: {}", consumed_ + at, fault);
      break;
    }
    result.Packets.push_back(
        {ReadInt32(rest, 0), ReadInt32(rest, 4), std::string(rest.substr(8, rest.size() - 10))});
    at += kSizeField + size;
  }
  if (error_) {
    pending_.clear();
    result.Error = error_;
  } else {
    pending_.erase(0, at);
    consumed_ += at;
  }
  return result;
}

}  // namespace Rcon
