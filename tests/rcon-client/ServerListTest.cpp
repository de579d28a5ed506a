// questveto-rcon's list file as operators write it, and what it makes of each line.
#include <gtest/gtest.h>

#include <stdexcept>

#include "tools/rcon/ServerList.h"

namespace RconTool {
namespace {

TEST(ServerListTest, ReadsEachServerAsWritten) {
  const std::string text =
      "\xEF\xBB\xBF# cluster\r\n"
      "\r\n"
      "island 10.0.0.5:27020 s3cret\r\n"
      "  center\t10.0.0.6:27021   pass with  blanks  \r\n"
      "scorched [::1]:27022\r\n";
  const std::vector<ServerEntry> servers = ParseServerList(text, "cluster.txt");
  ASSERT_EQ(servers.size(), 3u);
  EXPECT_EQ(servers[0].Name, "island");
  EXPECT_EQ(servers[0].Host, "10.0.0.5");
  EXPECT_EQ(servers[0].Port, 27020);
  EXPECT_EQ(servers[0].Password, "s3cret");
  EXPECT_EQ(servers[1].Name, "center");
  EXPECT_EQ(servers[1].Port, 27021);
  EXPECT_EQ(servers[1].Password, "pass with  blanks");
  EXPECT_EQ(servers[2].Host, "::1");
  EXPECT_EQ(servers[2].Password, std::nullopt) << "the environment's or the typed one";
}

TEST(ServerListTest, NamesTheFileAndLineOfAFault) {
  const std::vector<std::pair<std::string, std::string>> broken = {
      {"island\n", "cluster.txt:1: 'island' has no <host>:<port>"},
      {"# one\nisland 10.0.0.5\n", "cluster.txt:2: '10.0.0.5' is not <host>:<port>"},
      {"island 10.0.0.5:0\n", "cluster.txt:1: port 0 is outside 1..65535"},
      {"island 10.0.0.5:65536\n", "cluster.txt:1: port 65536 is outside 1..65535"},
      {"island 10.0.0.5:27o20\n", "cluster.txt:1: port '27o20' is not a number"},
      {"island :27020\n", "cluster.txt:1: ':27020' is not <host>:<port>"},
      {"island []:27020\n", "cluster.txt:1: '[]:27020' names no host"},
      {"a 10.0.0.5:1\nb 10.0.0.6:1\na 10.0.0.7:1\n", "cluster.txt:3: the name a is given twice"},
      {"# nothing\n\n", "cluster.txt: lists no server"},
  };
  for (const auto& [text, message] : broken) {
    try {
      ParseServerList(text, "cluster.txt");
      ADD_FAILURE() << "accepted: " << text;
    } catch (const std::invalid_argument& error) {
      EXPECT_EQ(error.what(), message) << text;
    }
  }
}

TEST(ServerListTest, AServerOnTheCommandLineIsNamedByItsAddress) {
  const ServerEntry server = ParseServerAddress("127.0.0.1:27020");
  EXPECT_EQ(server.Name, "127.0.0.1:27020");
  EXPECT_EQ(server.Host, "127.0.0.1");
  EXPECT_EQ(server.Port, 27020);
  EXPECT_THROW(ParseServerAddress("127.0.0.1"), std::invalid_argument);
}

}  // namespace
}  // namespace RconTool
