// What questveto-rcon writes of a server's reply or a list's name: what a terminal shows as text.
#include <gtest/gtest.h>

#include "common/PrintableText.h"

namespace RconTool {
namespace {

TEST(PrintableTextTest, WritesControlCharactersAndInvalidBytesEscaped) {
  const std::vector<std::pair<std::string, std::string>> shown = {
      {"QuestVeto: Reloaded config", "QuestVeto: Reloaded config"},
      {"\tétoile 🔑 \xC2\xA0", "\tétoile 🔑 \xC2\xA0"},
      {"\x1B[2J\x07\r", "\\x1B[2J\\x07\\x0D"},
      {std::string("a\0b", 3), "a\\x00b"},
      {"\x7F \xC2\x85 \xC2\x9F", "\\x7F \\xC2\\x85 \\xC2\\x9F"},
      {"caf\xE9 \xC3", "caf\\xE9 \\xC3"},
      {"\xED\xA0\x80", "\\xED\\xA0\\x80"},
  };
  for (const auto& [text, expected] : shown) EXPECT_EQ(Printable(text), expected) << expected;
}

}  // namespace
}  // namespace RconTool
