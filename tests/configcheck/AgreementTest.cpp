// The check's verdicts are the plugin's: for configurations of every shape, the check run on the
// config.json of a stand-in server answers as the loaded plugin's exported query does.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/ServerFixture.h"
#include "tools/configcheck/ConfigCheck.h"
#include "tools/configcheck/MissionVerdict.h"

namespace {

using AgreementTest = ServerTest;

TEST_F(AgreementTest, CheckAnswersAsTheLoadedPlugin) {
  const std::vector<std::string> configs = {
      R"({"DisabledMissions": ["Hunt", "race"]})",
      R"({"DisabledMissions": ["Race", 3, "Hunt"]})",
      R"({"DisabledMissions": ["Hunt", null, "Race"]})",
      R"({"DisabledMissions": [["Hunt"], "Race"]})",
      R"({"DisabledMissions": {"b": "Hunt", "a": "Race"}})",
      R"({"DisabledMissions": {"b": "Hunt", "a": false}})",
      R"({"DisabledMissions": "HUNT"})",
      R"({"DisabledMissions": 7})",
      R"({"DisabledMissions": ["", "\u0000Hunt", "Ra\u0000zzz"]})",
      R"({"DisabledMissions": ["été", "ÉTÉ"]})",
      R"({"DisabledMissions": null, "DisabledMessage": "{}"})",
      R"({})",
      R"(["Hunt"])",
      R"("Hunt")",
      R"({"DisabledMissions": ["A"]} {"DisabledMissions": ["Hunt"]})",
  };
  const std::vector<std::string> names = {"Hunt",    "The Great Hunt", "Race day", "Rapids",
                                          "Fishing", "Été indien",     "",         "A"};
  std::size_t disabled = 0;
  for (const std::string& config : configs) {
    SCOPED_TRACE(config);
    TearDown();
    SetUp();
    LoadWith(config);
    ASSERT_TRUE(Messages("critical").empty()) << "the plugin did not read the file";
    ConfigCheck check = CheckConfigFile(ConfigPath());
    ASSERT_TRUE(check.Config.has_value());
    const std::vector<MissionVerdict> verdicts = JudgeMissions(check.Config, names);
    ASSERT_EQ(verdicts.size(), names.size());
    for (const MissionVerdict& verdict : verdicts) {
      EXPECT_EQ(verdict.Disabled, Disabled(verdict.Name)) << "name \"" << verdict.Name << "\"";
      disabled += verdict.Disabled == true ? 1 : 0;
    }
  }
  EXPECT_GE(disabled, 10u) << "too few switched-off missions to show agreement";
}

// Where config.json is missing, the check's hints name the files the plugin's log names, with the
// same advice.
TEST_F(AgreementTest, AMissingFileGetsThePluginsNearMisses) {
  WriteBesideConfig("config.json.txt", "{}");
  WriteBesideConfig("config.sample.json", "{}");
#if !defined(_WIN32)  // names that differ in letter case only are one file on Windows
  WriteBesideConfig("Config.json", "{}");
#endif
  LoadPlugin();
  const std::vector<std::string> warnings = Messages("warning");
  ASSERT_FALSE(warnings.empty()) << "the plugin named no near miss";
  const ConfigCheck check = CheckConfigFile(ConfigPath());
  ASSERT_EQ(check.Findings.size(), 1u);
  const std::string& message = check.Findings[0].Message;
  std::size_t hints = 0;
  for (std::size_t at = message.find("; hint: "); at != std::string::npos;
       at = message.find("; hint: ", at + 1)) {
    ++hints;
  }
  EXPECT_EQ(hints, warnings.size()) << message;
  for (std::string warning : warnings) {
    warning[0] = 'f';  // "Found ..." begins a log line, "found ..." a hint
    EXPECT_NE(message.find("; hint: " + warning), std::string::npos) << message;
  }
}

}  // namespace
