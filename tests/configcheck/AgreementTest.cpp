// The check's verdicts are the plugin's: for configurations of every shape, the check run on the
// config.json of a stand-in server answers as the loaded plugin's exported query does.
#include <algorithm>
#include <string>
#include <utility>
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

// The text between the first `open` after `from` and the `close` after it; "" when absent.
std::string Between(const std::string& text, const std::string& open, const std::string& close,
                    std::size_t from = 0) {
  const std::size_t begin = text.find(open, from);
  if (begin == std::string::npos) return "";
  const std::size_t end = text.find(close, begin + open.size());
  return end == std::string::npos ? ""
                                  : text.substr(begin + open.size(), end - begin - open.size());
}

// What the plugin's log says it will not read, each as "key <written> -> <meant>" or
// "text at <line>:<column>", sorted.
std::vector<std::string> UnreadInLog(const std::vector<std::string>& warnings,
                                     const std::string& path) {
  const std::string textAfter = "Config text after the first JSON value is not read: " + path;
  std::vector<std::string> unread;
  for (const std::string& warning : warnings) {
    if (warning.rfind("Config key \"", 0) == 0 &&
        warning.find("did you mean") != std::string::npos) {
      unread.push_back("key " + Between(warning, "\"", "\"") + " -> " +
                       Between(warning, "did you mean \"", "\""));
    } else if (warning.rfind(textAfter, 0) == 0) {
      unread.push_back("text at " + Between(warning, "from line ", ",", textAfter.size()) + ":" +
                       warning.substr(warning.rfind("column ") + 7));
    }
  }
  std::sort(unread.begin(), unread.end());
  return unread;
}

// The same of the check's findings, sorted.
std::vector<std::string> UnreadInFindings(const std::vector<Finding>& findings) {
  std::vector<std::string> unread;
  for (const Finding& finding : findings) {
    const std::string meant = Between(finding.Message, "did you mean \"", "\"");
    if (!meant.empty()) {
      unread.push_back("key " + finding.Key + " -> " + meant);
    } else if (finding.Message.find("text after the closing brace") != std::string::npos) {
      unread.push_back("text at " + std::to_string(finding.At->Line) + ":" +
                       std::to_string(finding.At->Column));
    }
  }
  std::sort(unread.begin(), unread.end());
  return unread;
}

// A key the plugin does not read is taken for a misspelling of the same key, and text after the
// first value is placed at the same line and column, by the plugin's log and by the check; a key
// beside the very key it would misspell is no misspelling to either.
TEST_F(AgreementTest, CheckNamesWhatThePluginDoesNotReadAsItsLogDoes) {
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {R"({"DisabledMissions": ["Hunt"], "DisabledMission": ["Race"]})", {}},
      {R"({"DisabledMission": ["Race"]})", {"key DisabledMission -> DisabledMissions"}},
      {R"({"disabledmessage": "x", "ShowMissionName": true, "DisabledMessage": "y"})",
       {"key ShowMissionName -> ShowMissionNames"}},
      {R"({"DisabledMissionsXYZ": [], "SHOWCONFIGSUMMARY": false})",
       {"key SHOWCONFIGSUMMARY -> ShowConfigSummary"}},  // three letters off is too far
      {"{\"DisabledMissions\": []}\n  {\"DisabledMissions\": [\"Hunt\"]}", {"text at 2:3"}},
      {"{\"Disabled_Mesage\": \"x\"}x", {"key Disabled_Mesage -> DisabledMessage", "text at 1:25"}},
  };
  for (const auto& [config, expected] : cases) {
    SCOPED_TRACE(config);
    TearDown();
    SetUp();
    LoadWith(config);
    ASSERT_TRUE(Messages("critical").empty()) << "the plugin did not read the file";
    EXPECT_EQ(UnreadInLog(Messages("warning"), ConfigPath()), expected);
    EXPECT_EQ(UnreadInFindings(CheckConfigFile(ConfigPath()).Findings), expected);
  }
}

}  // namespace
