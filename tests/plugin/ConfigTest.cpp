// Reading config.json: what counts as a configuration and what a failed read leaves in force.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugin/Scenarios.h"
#include "plugin/Version.h"
#include "standin/Registries.h"
#include "standin/World.h"
#include "support/Configs.h"
#include "support/Said.h"
#include "support/ServerFixture.h"
#include "support/Shown.h"
#include "support/StackThread.h"

namespace {

using ConfigTest = ServerTest;

// Loads with Hunt switched off, then reloads `text`; answers the critical messages it logged.
std::vector<std::string> ReloadAfterHunt(ServerTest& test, const std::string& text) {
  test.LoadWith(kHuntOff);
  test.WriteConfig(text);
  ServerTest::ReloadFromConsole();
  return ServerTest::Messages("critical");
}

TEST_F(ConfigTest, FailedReadsKeepThePreviousConfiguration) {
  struct Case {
    const char* name;
    std::string text;
    const char* reason;
  };
  const Case cases[] = {
      {"empty file", "",
       "parse error at line 1, column 1: syntax error while parsing value - unexpected end of "
       "input"},
      {"comment", "// off\n{\"DisabledMissions\": [\"Race\"]}", "parse error at line 1, column 1"},
      {"broken halfway", R"({"DisabledMissions": ["Race"], "DisabledMessage": )",
       "parse error at line 1, column 51"},
      {"number overflow", R"({"DisabledMissions": ["Race"], "X": 1e999})", "number overflow"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<std::string> critical = ReloadAfterHunt(*this, c.text);
    ASSERT_EQ(critical.size(), 1u);
    EXPECT_NE(critical[0].find(c.reason), std::string::npos) << critical[0];
    EXPECT_TRUE(Disabled("Hunt")) << "the previous configuration is still in force";
    EXPECT_FALSE(Disabled("Race")) << "nothing of the broken file is in force";
    TearDown();
    SetUp();
  }
}

TEST_F(ConfigTest, AcceptedForms) {
  struct Case {
    const char* name;
    std::string text;
    bool raceDisabled;
  };
  const Case cases[] = {
      {"trailing text", R"({"DisabledMissions": ["Race"]} {"DisabledMissions": []} junk)", true},
      {"UTF-8 signature", "\xEF\xBB\xBF{\"DisabledMissions\": [\"Race\"]}", true},
      {"empty object", "{}", false},
      {"members in any order, free whitespace",
       "{\n\t\"ShowMissionNames\" : false ,\"DisabledMissions\"\n:[ \"Race\" ]}", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(ReloadAfterHunt(*this, c.text).empty());
    EXPECT_EQ(Disabled("Race"), c.raceDisabled);
    EXPECT_FALSE(Disabled("Hunt")) << "the new file replaced the old configuration";
    TearDown();
    SetUp();
  }
}

// Text after the first JSON value is never read, and each read says where it begins, as an editor
// counts lines and columns (in bytes); white space alone after the value says nothing.
TEST_F(ConfigTest, TextAfterTheFirstValueIsNamedByLineAndColumn) {
  struct Case {
    const char* name;
    std::string text;
    const char* place;  // null: no warning
  };
  const Case cases[] = {
      {"object, then a comma and a member", "{\"DisabledMissions\": [\"Race\"]},\n\"X\": 1}",
       "line 1, column 31"},
      {"object, then white space of every kind", "{}\r\n \t\n\n", nullptr},
      {"object, then nothing", "{}", nullptr},
      {"a second object on a later line", "{}\r\n\n  {}", "line 3, column 3"},
      {"after a byte order mark", "\xEF\xBB\xBF{} x", "line 1, column 7"},
      {"array, then a bracket", "[\"Race\"]]", "line 1, column 9"},
      {"number, then a letter right after it", "5x", "line 1, column 2"},
      {"number, then a blank and a letter", "-1.5e3 x", "line 1, column 8"},
      {"number at the end of the file", "42", nullptr},
      {"number, then a line break", "42\n", nullptr},
      {"string, then a string", "\"a\"\"b\"", "line 1, column 4"},
      {"literal, then a comma", "true,", "line 1, column 5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoadWith(c.text);
    const std::vector<std::string> warnings = Messages("warning");
    if (c.place == nullptr) {
      EXPECT_TRUE(warnings.empty()) << warnings.front();
    } else {
      EXPECT_EQ(warnings,
                std::vector<std::string>{"Config text after the first JSON value is not read: " +
                                         ConfigPath() + ", from " + c.place});
    }
    TearDown();
    SetUp();
  }
}

// A key the plugin reads, written with the wrong letter case or a letter or two wrong, is named
// when the key itself is absent; keys further off, or beside the right one, are not.
TEST_F(ConfigTest, MisspeltKeysAreNamed) {
  struct Case {
    std::string text;
    std::vector<std::string> named;  // each as "written -> meant"
  };
  const Case cases[] = {
      {R"({"DISABLEDMISSIONS": []})", {"DISABLEDMISSIONS -> DisabledMissions"}},
      {R"({"DisabledMission": []})", {"DisabledMission -> DisabledMissions"}},
      {R"({"Disabled_Missions ": []})", {"Disabled_Missions  -> DisabledMissions"}},
      {R"({"DisabledMisions": [], "DisabledMissions": []})", {}},  // the key itself is there
      {R"({"DisabledMissionsXYZ": []})", {}},                      // three letters off
      {R"({"disabledmessage": "", "showmissionnames": true})",
       {"disabledmessage -> DisabledMessage", "showmissionnames -> ShowMissionNames"}},
      {R"({"Missions": [], "": 1})", {}},
      {R"(["disabledMissions"])", {}},  // no object, no keys
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    LoadWith(c.text);
    std::vector<std::string> expected;
    for (const std::string& pair : c.named) {
      const std::size_t arrow = pair.find(" -> ");
      expected.push_back("Config key \"" + pair.substr(0, arrow) +
                         "\" is not read: did you mean \"" + pair.substr(arrow + 4) + "\"?");
    }
    EXPECT_EQ(Messages("warning"), expected);
    TearDown();
    SetUp();
  }
}

// `depth` arrays, each the only element of the one around it: [[[...]]].
std::string NestedArrays(std::size_t depth) {
  return std::string(depth, '[') + std::string(depth, ']');
}

// A file nested a million deep anywhere the parser accepts it neither ends the server nor stops
// the plugin, on a stack no larger than a Windows game server thread's: the reads, their
// summaries, "qv.status", the starts and the unload copy, compare and walk no nesting
// recursively.
TEST_F(ConfigTest, FilesNestedAMillionDeepAreSafeOnAGameThreadStack) {
  const std::string deep = NestedArrays(1000000);
  // Hunt off; the nesting under a key the plugin ignores, and as the entry after Hunt.
  const std::string besideHunt = R"({"ShowConfigSummary": true, "Deep": )" + deep +
                                 R"(, "DisabledMissions": ["Hunt", )" + deep + R"(, "Ride"]})";
  const std::string nestedList = R"({"ShowConfigSummary": true, "DisabledMissions": )" + deep + "}";
  std::vector<bool> refused;  // the starts of Hunt, Ride; Hunt; Hunt, Ride
  RunOnThreadWithStack(kGameThreadStackBytes, [&] {
    Arrange(*this, besideHunt, true);
    StandIn::Character& bob = AddBob();
    StandIn::RconConnection& connection = World().AddRconConnection();
    const auto refuses = [&](const char* mission) {
      return StartMission(World().FindMission(mission), &bob) == 0;
    };
    refused = {refuses("Hunt"), refuses("Ride")};
    WriteConfig(nestedList);
    ReloadFromConsole();
    refused.push_back(refuses("Hunt"));
    WriteConfig(besideHunt);
    ReloadFromConsole();
    refused.push_back(refuses("Hunt"));
    refused.push_back(refuses("Ride"));
    StandIn::Commands::Rcon(connection, 1, "qv.status");
    UnloadPlugin();
  });

  EXPECT_EQ(refused, (std::vector<bool>{true, false, false, true, false}))
      << "Ride lies after the nesting, which ends the list";
  EXPECT_TRUE(Messages("critical").empty());
  const std::string from = "config from " + ConfigPath() + ": ";
  EXPECT_EQ(Messages("info"),
            (std::vector<std::string>{
                "Loaded " + from + "1 entry of \"DisabledMissions\" in force (QuestVeto " +
                    kPluginVersion + ")",
                "Reloaded " + from + "0 entries of \"DisabledMissions\" in force; removed \"Hunt\"",
                "Reloaded " + from + "1 entry of \"DisabledMissions\" in force; added \"Hunt\""}));
  const std::vector<StandIn::Journal::RconReply> status = Recorded<StandIn::Journal::RconReply>();
  ASSERT_EQ(status.size(), 1u);
  EXPECT_NE(status[0].Text.find("1 entry of"), std::string::npos) << status[0].Text;
}

}  // namespace
