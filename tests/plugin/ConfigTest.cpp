// Reading config.json: what counts as a configuration and what a failed read leaves in force.
#include <gtest/gtest.h>

#include "plugin/PluginHarness.h"

namespace {

class ConfigTest : public PluginTest {
 protected:
  // Loads with Hunt switched off, then reloads `text`; answers the critical messages it logged.
  std::vector<std::string> ReloadAfterHunt(const std::string& text) {
    LoadWith(R"({"DisabledMissions": ["Hunt"]})");
    WriteConfig(text);
    ReloadFromConsole();
    return Messages("critical");
  }
};

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
    const std::vector<std::string> critical = ReloadAfterHunt(c.text);
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
    EXPECT_TRUE(ReloadAfterHunt(c.text).empty());
    EXPECT_EQ(Disabled("Race"), c.raceDisabled);
    EXPECT_FALSE(Disabled("Hunt")) << "the new file replaced the old configuration";
    TearDown();
    SetUp();
  }
}

}  // namespace
