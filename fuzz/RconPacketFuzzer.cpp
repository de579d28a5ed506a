// The sandbox's RCON packet reader on arbitrary byte streams, as a hostile client may send them.
// The stream is read twice, whole and in pieces whose sizes the input chooses, and both readings
// must agree packet for packet and on whether the stream is malformed. Every packet read must be
// within the protocol's bounds and must come back unchanged from its own encoding, and a stream
// once found malformed must stay so.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/RconPacket.h"

namespace {

using Rcon::RconPacket;
using Rcon::RconPacketReader;

void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "fuzz_rcon_packet: %s\n", what);
  std::abort();
}

// Reads `stream` in pieces: each piece's size comes from the next byte of `sizes` (1 to 256).
RconPacketReader::Result ReadInPieces(std::string_view stream, std::string_view sizes,
                                      RconPacketReader& reader) {
  RconPacketReader::Result all;
  std::size_t at = 0;
  std::size_t next = 0;
  while (at < stream.size()) {
    const std::size_t piece =
        sizes.empty() ? 1 : 1 + static_cast<unsigned char>(sizes[next++ % sizes.size()]);
    RconPacketReader::Result part = reader.Feed(stream.substr(at, piece));
    at += piece;
    for (RconPacket& packet : part.Packets) all.Packets.push_back(std::move(packet));
    if (part.Error) {
      all.Error = part.Error;
      break;
    }
  }
  return all;
}

void CheckPacket(const RconPacket& packet) {
  Require(packet.Body.size() <= Rcon::kRconMaxBody, "a body longer than a packet may carry");
  Require(packet.Body.find('\0') == std::string::npos, "a body holding a zero byte");
  RconPacketReader again;
  const RconPacketReader::Result echoed = again.Feed(Rcon::EncodeRconPacket(packet));
  Require(!echoed.Error && echoed.Packets.size() == 1 && echoed.Packets[0] == packet,
          "a packet that does not come back from its own encoding");
  Require(again.Pending() == 0, "bytes left over after one whole packet");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // The first byte says how much of the rest chooses piece sizes; the remainder is the stream.
  const std::size_t sizeBytes = input.empty() ? 0 : static_cast<unsigned char>(input[0]) % 16;
  const std::string_view rest = input.empty() ? input : input.substr(1);
  const std::string_view sizes = rest.substr(0, std::min(sizeBytes, rest.size()));
  const std::string_view stream = rest.substr(sizes.size());

  RconPacketReader whole;
  const RconPacketReader::Result once = whole.Feed(stream);
  RconPacketReader pieces;
  const RconPacketReader::Result split = ReadInPieces(stream, sizes, pieces);

  Require(once.Error.has_value() == split.Error.has_value(),
          "whole and piecewise readings disagree on a malformed stream");
  Require(once.Packets == split.Packets, "whole and piecewise readings disagree on the packets");
  for (const RconPacket& packet : once.Packets) CheckPacket(packet);
  Require(whole.Pending() <= static_cast<std::size_t>(Rcon::kRconMaxSize) + 4,
          "more bytes held back than one packet can have");
  if (once.Error) {
    const RconPacketReader::Result after = whole.Feed(Rcon::EncodeRconPacket({1, 2, "x"}));
    Require(after.Error.has_value() && after.Packets.empty(),
            "a malformed stream read on after its fault");
  }
  return 0;
}
