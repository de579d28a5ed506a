#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "sandbox/server/WorldFile.h"
#include "common/PrintableText.h"

namespace Sandbox {
namespace {

// The message of the WorldFileError that parsing `text` as "w.json" throws; empty if none.
std::string ErrorOf(const std::string& text) {
  try {
    ParseWorld(text, "w.json");
  } catch (const WorldFileError& error) {
    return error.what();
  }
  return {};
}

// The first byte of `text` a terminal would take as a command (C0 but the tab, DEL), or none.
std::optional<std::size_t> FirstControlByte(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if ((byte < 0x20 && byte != '\t') || byte == 0x7F) return i;
  }
  return std::nullopt;
}

TEST(WorldFileTest, ReadsMissionsAndPlayersWithDefaults) {
  const WorldPlan world = ParseWorld(R"({
    "missions": [{"name": "Hunt", "version": 3, "tag": "MissionHunt"},
                 {"name": "Gather Wood", "tag": "MissionGatherWood"}],
    "players": [{"name": "Bob"},
                {"name": "Ghost", "alive": false, "controller": false, "missionData": false}]
  })",
                                     "w.json");
  ASSERT_EQ(world.Missions.size(), 2u);
  EXPECT_EQ(world.Missions[0].Name, "Hunt");
  EXPECT_EQ(world.Missions[0].Version, 3);
  EXPECT_EQ(world.Missions[0].Tag, "MissionHunt");
  EXPECT_EQ(world.Missions[1].Version, 1);
  ASSERT_EQ(world.Players.size(), 2u);
  EXPECT_TRUE(world.Players[0].Alive && world.Players[0].Controller &&
              world.Players[0].MissionData);
  EXPECT_FALSE(world.Players[1].Alive || world.Players[1].Controller ||
               world.Players[1].MissionData);
}

TEST(WorldFileTest, ReadsAWorldSavedAsUtf16) {
  // {"missions": [{"name": "Café", "tag": "T"}], "players": []} as Notepad's "Unicode" saves it.
  const std::u16string text = u"\uFEFF{\"missions\": [{\"name\": \"Caf\u00e9\", \"tag\": \"T\"}], "
                              u"\"players\": []}";
  std::string bytes;
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  const WorldPlan world = ParseWorld(bytes, "w.json");
  ASSERT_EQ(world.Missions.size(), 1u);
  EXPECT_EQ(world.Missions[0].Name, "Caf\xC3\xA9");
}

TEST(WorldFileTest, ShippedWorldIsValid) {
  const WorldPlan world = ReadWorldFile(QV_SANDBOX_WORLD);
  EXPECT_FALSE(world.Missions.empty());
  EXPECT_FALSE(world.Players.empty());
}

TEST(WorldFileTest, UnknownKeysAreNamedWithTheFile) {
  EXPECT_EQ(ErrorOf(R"({"missions": [], "players": [], "weather": 1})"),
            "w.json: weather: unknown key");
  EXPECT_EQ(ErrorOf(R"({"missions": [], "players": [{"name": "Bob", "alvie": true}]})"),
            "w.json: players[0].alvie: unknown key");
}

TEST(WorldFileTest, WrongTypesAndMissingKeysNameTheirPath) {
  EXPECT_EQ(ErrorOf(R"({"missions": [], "players": [{"name": "A"}, {"name": "B", "alive": 1}]})"),
            "w.json: players[1].alive: must be true or false, not number");
  EXPECT_EQ(ErrorOf(R"({"missions": [{"name": "Hunt", "tag": "T", "version": 2.5}],
                        "players": []})"),
            "w.json: missions[0].version: must be a 32-bit integer, not 2.5");
  EXPECT_EQ(ErrorOf(R"({"missions": [{"name": "Hunt", "tag": "T", "version": 4294967296}],
                        "players": []})"),
            "w.json: missions[0].version: must be a 32-bit integer, not 4294967296");
  EXPECT_EQ(ErrorOf(R"({"missions": [{"name": "Hunt"}], "players": []})"),
            "w.json: missions[0].tag: missing");
  EXPECT_EQ(ErrorOf(R"({"missions": {}, "players": []})"),
            "w.json: missions: must be an array, not object");
  EXPECT_EQ(ErrorOf(R"([])"), "w.json: top level: must be an object, not array");
  EXPECT_EQ(ErrorOf(R"({"missions": [], "players": [{"name": ""}]})"),
            "w.json: players[0].name: must not be empty");
}

TEST(WorldFileTest, NamesMustBeUsableOnTheConsole) {
  EXPECT_EQ(ErrorOf(R"({"missions": [], "players": [{"name": "Bob Smith"}]})"),
            "w.json: players[0].name: must be a single word");
  EXPECT_EQ(ErrorOf(R"({"missions": [], "players": [{"name": "Bob"}, {"name": "Bob"}]})"),
            "w.json: players[1].name: \"Bob\" is taken");
}

TEST(WorldFileTest, SyntaxErrorsAndMissingFilesNameTheFile) {
  EXPECT_EQ(ErrorOf("{\"missions\": [").rfind("w.json: ", 0), 0u);
  EXPECT_THROW(
      {
        try {
          ReadWorldFile("/nonexistent/world.json");
        } catch (const WorldFileError& error) {
          EXPECT_STREQ(error.what(), "/nonexistent/world.json: cannot be opened");
          throw;
        }
      },
      WorldFileError);
}

TEST(WorldFileTest, ErrorsQuoteHostileBytesEscaped) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      // The parser's "last read" quotes bytes of the file: it writes C0 controls as <U+00XX>
      // itself, the others come raw.
      {"{\"missions\": \x1B[2J\x07", "last read: '\"missions\": <U+001B>'"},
      {std::string("{\"missions\": [\"a\0b\"]}", 21), "<U+0000>"},
      {"{\"missions\": [\"caf\xE9\"]}", "'\"caf\\xE9\"'"},
      {"{\"missions\": [\x7F]}", "[\\x7F'"},
      {"{\"missions\": [\xC2\x9B" "31m]}", "[\\xC2'"},
      {"{\"missions\": [\xC3\x28]}", "[\\xC3'"},
      // Keys and names are decoded from JSON escapes into the bytes they stand for.
      {R"({"missions": [], "players": [], "\u001b[2J": 1})", "w.json: \\x1B[2J: unknown key"},
      {R"({"missions": [], "players": [{"name": "B\u0000b"}, {"name": "B\u0000b"}]})",
       "w.json: players[1].name: \"B\\x00b\" is taken"},
      {R"({"missions": [], "players": [{"name": "\r\u009bX"}, {"name": "\r\u009bX"}]})",
       "w.json: players[1].name: \"\\x0D\\xC2\\x9BX\" is taken"},
  };
  for (const auto& [text, shown] : cases) {
    const std::string error = ErrorOf(text);
    EXPECT_NE(error.find(shown), std::string::npos) << error;
    EXPECT_FALSE(FirstControlByte(error)) << error;
  }
}

TEST(WorldFileTest, ErrorsOnRandomBytesArePrintable) {
  std::mt19937 random(39);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<std::size_t> length(0, 64);
  for (int run = 0; run < 2000; ++run) {
    // Half the inputs start as JSON, so that the parser reads some way into the bytes.
    std::string text = run % 2 == 0 ? "{\"missions\": [\"" : "";
    for (std::size_t i = length(random); i > 0; --i) text += static_cast<char>(byte(random));
    const std::string error = ErrorOf(text);
    ASSERT_FALSE(error.empty());
    ASSERT_FALSE(FirstControlByte(error)) << error;
    // Well-formed UTF-8 without C1 controls: nothing left for the escaping to change.
    ASSERT_EQ(Printable(error), error);
  }
}

TEST(WorldFileTest, MissingFileWithHostileNameIsNamedEscaped) {
  try {
    ReadWorldFile("/nonexistent/\x1B[31mworld\xFF.json");
    FAIL() << "no error";
  } catch (const WorldFileError& error) {
    EXPECT_STREQ(error.what(), "/nonexistent/\\x1B[31mworld\\xFF.json: cannot be opened");
  }
}

}  // namespace
}  // namespace Sandbox
