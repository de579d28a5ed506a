#include <gtest/gtest.h>

#include "common/RconPacket.h"

namespace Sandbox {
namespace {

std::string Int32(int32_t value) {
  std::string bytes;
  for (int shift = 0; shift < 32; shift += 8) {
    bytes.push_back(static_cast<char>(static_cast<uint32_t>(value) >> shift & 0xFF));
  }
  return bytes;
}

// A packet as raw bytes: size field, id, type, then `rest` as given (body and terminators).
std::string Raw(int32_t size, int32_t id, int32_t type, const std::string& rest) {
  return Int32(size) + Int32(id) + Int32(type) + rest;
}

TEST(RconPacketTest, EncodesLittleEndianWithSizeAndTwoTerminators) {
  const std::string bytes = Rcon::EncodeRconPacket({0x01020304, Rcon::kRconExecCommand, "qv.reload"});
  EXPECT_EQ(bytes, Raw(10 + 9, 0x01020304, 2, std::string("qv.reload\0\0", 11)));
}

TEST(RconPacketTest, RoundTripsWhateverTheChunking) {
  const std::vector<Rcon::RconPacket> packets = {{7, Rcon::kRconAuth, "secret"},
                                           {-1, Rcon::kRconAuthResponse, ""},
                                           {42, Rcon::kRconExecCommand, std::string(Rcon::kRconMaxBody, 'x')},
                                           {8, Rcon::kRconResponseValue, "d\xC3\xA9j\xC3\xA0"}};
  std::string stream;
  for (const Rcon::RconPacket& packet : packets) stream += Rcon::EncodeRconPacket(packet);

  for (std::size_t chunk : {std::size_t{1}, std::size_t{3}, std::size_t{13}, stream.size()}) {
    Rcon::RconPacketReader reader;
    std::vector<Rcon::RconPacket> read;
    for (std::size_t at = 0; at < stream.size(); at += chunk) {
      Rcon::RconPacketReader::Result result = reader.Feed(std::string_view(stream).substr(at, chunk));
      ASSERT_FALSE(result.Error) << *result.Error;
      read.insert(read.end(), result.Packets.begin(), result.Packets.end());
    }
    EXPECT_EQ(read, packets) << "chunks of " << chunk;
    EXPECT_EQ(reader.Pending(), 0u);
  }
}

TEST(RconPacketTest, TruncatedPacketWaitsForTheRest) {
  const std::string bytes = Rcon::EncodeRconPacket({5, Rcon::kRconExecCommand, "players"});
  Rcon::RconPacketReader reader;
  Rcon::RconPacketReader::Result first = reader.Feed(std::string_view(bytes).substr(0, bytes.size() - 1));
  EXPECT_TRUE(first.Packets.empty());
  EXPECT_FALSE(first.Error);
  EXPECT_EQ(reader.Pending(), bytes.size() - 1);

  Rcon::RconPacketReader::Result rest = reader.Feed(std::string_view(bytes).substr(bytes.size() - 1));
  ASSERT_EQ(rest.Packets.size(), 1u);
  EXPECT_EQ(rest.Packets[0].Body, "players");
}

TEST(RconPacketTest, RejectsSizesOutsideTheBoundsBeforeReadingTheBody) {
  for (int32_t size : {-1, std::numeric_limits<int32_t>::min(), 0, 9, 4097, 1 << 30}) {
    Rcon::RconPacketReader reader;
    Rcon::RconPacketReader::Result result = reader.Feed(Int32(size));
    ASSERT_TRUE(result.Error) << "size " << size;
    EXPECT_NE(result.Error->find(std::to_string(size)), std::string::npos) << *result.Error;
    EXPECT_EQ(reader.Pending(), 0u) << "nothing is kept of a broken stream";
  }
  Rcon::RconPacketReader largest;
  EXPECT_FALSE(largest.Feed(Int32(4096)).Error);
}

TEST(RconPacketTest, RejectsMissingTerminatorsAndZeroBytesInTheBody) {
  const std::vector<std::pair<std::string, std::string>> broken = {
      {"no terminators", Raw(10 + 2, 1, 2, "abcd")},
      {"one terminator", Raw(10 + 1, 1, 2, std::string("ab\0", 3))},
      {"zero inside the body", Raw(10 + 3, 1, 2, std::string("a\0b\0\0", 5))},
      {"bytes after the terminators", Raw(10, 1, 2, std::string("\0x", 2))},
  };
  for (const auto& [what, bytes] : broken) {
    Rcon::RconPacketReader reader;
    EXPECT_TRUE(reader.Feed(bytes).Error) << what;
  }
}

TEST(RconPacketTest, KeepsThePacketsBeforeAFaultAndStaysBroken) {
  Rcon::RconPacketReader reader;
  const std::string good = Rcon::EncodeRconPacket({1, Rcon::kRconAuth, "pw"});
  Rcon::RconPacketReader::Result result = reader.Feed(good + Int32(-5));
  ASSERT_EQ(result.Packets.size(), 1u);
  ASSERT_TRUE(result.Error);
  EXPECT_NE(result.Error->find("byte " + std::to_string(good.size())), std::string::npos)
      << *result.Error;

  Rcon::RconPacketReader::Result later = reader.Feed(good);
  EXPECT_TRUE(later.Packets.empty());
  EXPECT_EQ(later.Error, result.Error);
}

TEST(RconPacketTest, EncoderRefusesBodiesTheWireCannotCarry) {
  EXPECT_THROW(Rcon::EncodeRconPacket({1, 0, std::string(Rcon::kRconMaxBody + 1, 'x')}), std::invalid_argument);
  EXPECT_THROW(Rcon::EncodeRconPacket({1, 0, std::string("a\0b", 3)}), std::invalid_argument);
}

}  // namespace
}  // namespace Sandbox
