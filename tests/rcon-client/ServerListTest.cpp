// questveto-rcon's list file as operators write it, and what it makes of each line.
#include <gtest/gtest.h>

#include <stdexcept>

#include "tools/rcon/ServerList.h"

namespace RconTool {
namespace {

// `text` as UTF-16, little- or big-endian, with a byte order mark or without.
std::string Utf16(const std::u16string& text, bool bigEndian, bool mark) {
  std::string bytes = mark ? (bigEndian ? "\xFE\xFF" : "\xFF\xFE") : "";
  for (const char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

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

TEST(ServerListTest, ReadsTheEncodingsWindowsEditorsSave) {
  const std::u16string text = u"# \u00eele\r\n\u00eele 10.0.0.5:27020 p\u00e4ss \U0001F511\r\n";
  const std::vector<std::pair<const char*, std::string>> saved = {
      {"UTF-16 LE with a mark (Notepad's Unicode)", Utf16(text, false, true)},
      {"UTF-16 BE with a mark", Utf16(text, true, true)},
      {"UTF-16 LE without a mark", Utf16(text, false, false)},
      {"UTF-8 with a mark", "\xEF\xBB\xBF# \xC3\xAEle\r\nîle 10.0.0.5:27020 päss 🔑\r\n"},
  };
  for (const auto& [encoding, bytes] : saved) {
    const std::vector<ServerEntry> servers = ParseServerList(bytes, "cluster.txt");
    ASSERT_EQ(servers.size(), 1u) << encoding;
    EXPECT_EQ(servers[0].Name, "île") << encoding;
    EXPECT_EQ(servers[0].Port, 27020) << encoding;
    EXPECT_EQ(servers[0].Password, "päss 🔑") << encoding;
  }
}

// Each message names the file, the line and the column in characters, never the line's text: a
// line missing its name column holds a password where the address belongs.
TEST(ServerListTest, NamesTheLineAndColumnOfAFaultButNeverItsText) {
  const std::vector<std::pair<std::string, std::string>> broken = {
      {"secret\n",
       "cluster.txt:1:7: no <host>:<port> after the name; a line is <name> "
       "<host>:<port> [<password>]"},
      {"  10.0.0.5:27020 secret\n",
       "cluster.txt:1:3: the line begins with an address; a line is "
       "<name> <host>:<port> [<password>]"},
      {"10.0.0.5:27020\n",
       "cluster.txt:1:1: the line begins with an address; a line is <name> "
       "<host>:<port> [<password>]"},
      {"# one\nîsland 10.0.0.5 secret\n",
       "cluster.txt:2:8: the address is not <host>:<port>: no ':' before the port"},
      {"island 10.0.0.5:0 secret\n",
       "cluster.txt:1:8: the address is not <host>:<port>: the port is outside 1..65535"},
      {"island 10.0.0.5:65536\n",
       "cluster.txt:1:8: the address is not <host>:<port>: the port is outside 1..65535"},
      {"island 10.0.0.5:27o20\n",
       "cluster.txt:1:8: the address is not <host>:<port>: the port is not a number"},
      {"island :27020\n",
       "cluster.txt:1:8: the address is not <host>:<port>: no host before the port"},
      {"island []:27020\n",
       "cluster.txt:1:8: the address is not <host>:<port>: no host before the port"},
      {"a 10.0.0.5:1\nb 10.0.0.6:1\n a 10.0.0.7:1\n",
       "cluster.txt:3:2: the name is given already at line 1"},
      {"island 10.0.0.5:1 se\x1B[2Jcret\n",
       "cluster.txt:1:21: a control character: the list holds text only"},
      {"island 10.0.0.5:1 s\xC2\x9B"
       "cret\n",
       "cluster.txt:1:20: a control character: the list holds text only"},
      {std::string("island 10.0.0.5:1 sec\0ret\n", 26),
       "cluster.txt:1:22: a control character: the list holds text only"},
      {"island 10.0.0.5:1 s\xC3\xA9"
       "cr\xE9t\n",
       "cluster.txt:1:23: not UTF-8 text: save the list as UTF-8, or as UTF-16 (Notepad's "
       "\"Unicode\")"},
      {Utf16(u"secret\r\n", false, true),
       "cluster.txt:1:7: no <host>:<port> after the name; a "
       "line is <name> <host>:<port> [<password>]"},
      {"# nothing\n\n", "cluster.txt: lists no server"},
  };
  for (const auto& [text, message] : broken) {
    try {
      ParseServerList(text, "cluster.txt");
      ADD_FAILURE() << "accepted: " << text;
    } catch (const ServerListError& error) {
      EXPECT_EQ(error.what(), message) << text;
      EXPECT_EQ(std::string(error.what()).find("cret"), std::string::npos) << error.what();
    }
  }
}

TEST(ServerListTest, AServerOnTheCommandLineIsNamedByItsAddress) {
  const ServerEntry server = ParseServerAddress("127.0.0.1:27020");
  EXPECT_EQ(server.Name, "127.0.0.1:27020");
  EXPECT_EQ(server.Host, "127.0.0.1");
  EXPECT_EQ(server.Port, 27020);
  try {
    ParseServerAddress("127.0.0.1\x1B:x");
    ADD_FAILURE() << "accepted";
  } catch (const std::invalid_argument& error) {
    EXPECT_STREQ(error.what(), "'127.0.0.1\\x1B:x' is not <host>:<port>: the port is not a number");
  }
}

}  // namespace
}  // namespace RconTool
