// What the config check reports about a config.json, where, and with which exit status.
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "configcheck/ToolRun.h"
#include "tools/configcheck/KnownKeys.h"

namespace {

using nlohmann::json;

struct Expected {
  std::size_t Line;
  std::size_t Column;
  const char* Key;      // "" for none
  const char* Excerpt;  // a part of the message
};

void ExpectFindings(const json& report, const std::vector<Expected>& expected) {
  const json& findings = report.at("findings");
  ASSERT_EQ(findings.size(), expected.size()) << findings.dump(2);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const json& finding = findings[i];
    const std::string message = finding.at("message");
    SCOPED_TRACE(message);
    EXPECT_EQ(finding.at("severity"), "warning");
    EXPECT_EQ(finding.at("line"), expected[i].Line);
    EXPECT_EQ(finding.at("column"), expected[i].Column);
    EXPECT_EQ(finding.at("key"), *expected[i].Key ? json(expected[i].Key) : json(nullptr));
    EXPECT_NE(message.find(expected[i].Excerpt), std::string::npos) << expected[i].Excerpt;
  }
}

class FindingsTest : public ToolTest {};

TEST_F(FindingsTest, WarningsNameWhereTheirKeyOrValueBegins) {
  const json report = Report(R"({
  "DisabledMissions": [
    "Hunt",
    "",
    "Race\u0000Day",
    7,
    "Fishing"
  ],
  "DisabledMessage": "Stop {here}",
  "ShowMissionNames": 1,
  "disabledmessage": "x",
  "Colour": "red"
}
{"second": true}
)");
  ExpectFindings(report,
                 {{4, 5, "DisabledMissions", "entry 2 is empty: it matches no mission"},
                  {5, 5, "DisabledMissions",
                   "entry 3 holds the character U+0000: the plugin matches only "
                   "the text before it, \"Race\""},
                  {6, 5, "DisabledMissions",
                   "entry 4 is a number, not a string: the plugin stops at it "
                   "and never tries the entry after it"},
                  {9, 22, "DisabledMessage", "\"DisabledMessage\" is rejected by the formatter"},
                  {10, 23, "ShowMissionNames", "\"ShowMissionNames\" is a number, not a boolean"},
                  {11, 3, "disabledmessage", "did you mean \"DisabledMessage\"?"},
                  {12, 3, "Colour", "unknown key \"Colour\": the plugin ignores it"},
                  {14, 1, "", "text after the closing brace"}});
  EXPECT_EQ(report["findings"][6]["message"].get<std::string>().find("did you mean"),
            std::string::npos);
  EXPECT_EQ(report.at("exit_status"), 1);
}

TEST_F(FindingsTest, ShapesThePluginToleratesSilently) {
  // Compact text, a byte order mark (its three bytes count in the first line's columns) and
  // nested values in an unknown key: the places stay right without whitespace between tokens.
  // The object's values are tried in key order, so "a": 5 is entry 1.
  const std::string bom = "\xEF\xBB\xBF";
  ExpectFindings(Report(bom + R"({"x":[1,-2.5e3,{"y":[]}],"DisabledMissions":{"b":"Race","a":5}})"),
                 {{1, 5, "x", "unknown key \"x\""},
                  {1, 48, "DisabledMissions",
                   "is an object: the plugin tries its member "
                   "values in the order of the member names"},
                  {1, 64, "DisabledMissions", "entry 1 is a number"}});
  ExpectFindings(Report(R"({"DisabledMissions": 5, "DisabledMessage": null})"),
                 {{1, 22, "DisabledMissions",
                   "is a number, not a list of strings: the plugin "
                   "switches no mission off"},
                  {1, 44, "DisabledMessage",
                   "is null, not a string: the plugin shows the "
                   "default message"}});
  ExpectFindings(Report("\n  [\"Hunt\"]"),
                 {{2, 3, "", "the top level is an array, not an object"}});
  ExpectFindings(Report("{\"DisabledMissions\": [\"A\"],\n \"DisabledMissions\": [\"B\"]}"),
                 {{2, 2, "DisabledMissions",
                   "is given again (first on line 1): the plugin uses "
                   "only this last value"}});
  ExpectFindings(Report(R"({"DisabledMissions": ["\u0000Hunt"], "ShowMissionNames": "true"})"),
                 {{1, 23, "DisabledMissions", "entry 1 begins with the character U+0000"},
                  {1, 58, "ShowMissionNames", "written without quotes"}});
}

TEST_F(FindingsTest, WhatThePluginReadsAsMeantIsClean) {
  for (const char* config : {
           R"({"DisabledMissions": ["Hunt", "Race"], "DisabledMessage": "No {{way}}!",
               "ShowMissionNames": true})",
           "{}",
           R"({"DisabledMissions": "Hunt", "DisabledMessage": ""})",
           R"({"DisabledMissions": null})",
       }) {
    const ToolRun run = Run({Write("config.json", config)});
    EXPECT_EQ(run.Status, 0) << config << "\n" << run.Out;
    EXPECT_NE(run.Out.find("config.json: no problems found\n"), std::string::npos) << run.Out;
  }
}

TEST_F(FindingsTest, ParseErrorsCarryTheLibrarysMessageAndPlace) {
  const std::regex place("line ([0-9]+), column ([0-9]+)");
  for (const char* text : {"", "{\"a\": 1,}", "{\"a\": [1,\n  2 3]}", "{\n\"a\": 1\n",
                           "{\"a\": 1 // note\n}", "{\"a\": \"x\ny\"}", "\xEF\xBB\xBF{,}"}) {
    SCOPED_TRACE(text);
    const json report = Report(text);
    ASSERT_EQ(report.at("findings").size(), 1u);
    const json& finding = report["findings"][0];
    EXPECT_EQ(finding.at("severity"), "error");
    const std::string message = finding.at("message");
    EXPECT_NE(message.find("parse_error.101"), std::string::npos) << message;
    std::smatch named;
    ASSERT_TRUE(std::regex_search(message, named, place)) << message;
    EXPECT_EQ(finding.at("line"), std::stoul(named[1]));
    EXPECT_EQ(finding.at("column"), std::stoul(named[2]));
    EXPECT_EQ(report.at("exit_status"), 2);
  }
  // A number too large: the library's message has no place, the report has the number's line.
  const json overflow = Report("{\n  \"a\": 1e999\n}");
  EXPECT_NE(overflow["findings"][0]["message"].get<std::string>().find("number overflow"),
            std::string::npos);
  EXPECT_EQ(overflow["findings"][0]["line"], 2);
}

TEST_F(FindingsTest, AFileThatCannotBeOpenedIsAnError) {
  const ToolRun run = Run({Write("config.json", "{}") + ".missing", "Hunt"});
  EXPECT_EQ(run.Status, 2);
  EXPECT_NE(run.Out.find(": error: the file cannot be opened (No such file or directory); the "
                         "plugin reports \"Can't open config.json\""),
            std::string::npos)
      << run.Out;
  EXPECT_NE(run.Out.find("mission \"Hunt\": not checked"), std::string::npos) << run.Out;
}

TEST_F(FindingsTest, TextReportLinesAndExitStatus) {
  const std::string path = Write("config.json", "{\n  \"ShowMissionNames\": \"yes\"\n}");
  const ToolRun run = Run({path});
  EXPECT_EQ(run.Status, 1);
  EXPECT_EQ(run.Out, path +
                         ":2:23: warning: \"ShowMissionNames\" is a string, not a boolean: the "
                         "plugin takes false; true and false are written without quotes\n" +
                         path + ": 1 warning\n");
  EXPECT_EQ(Run({"--json", path}).Json().at("exit_status"), 1);
}

TEST_F(FindingsTest, CommandLine) {
  const ToolRun help = Run({"--help"});
  EXPECT_EQ(help.Status, 0);
  EXPECT_NE(help.Out.find("Usage: questveto-config-check"), std::string::npos) << help.Out;
  EXPECT_NE(help.Out.find("--missions FILE"), std::string::npos) << help.Out;

  EXPECT_EQ(Run({}).Status, 2);
  EXPECT_EQ(Run({"--no-such-option", Write("config.json", "{}")}).Status, 2);
  const ToolRun missingNames = Run({Write("config.json", "{}"), "--missions", "/nonexistent"});
  EXPECT_EQ(missingNames.Status, 2);
  EXPECT_FALSE(missingNames.Err.empty());
}

TEST(KnownKeysTest, NearestKeyWithinThreeEditsOrACaseDifference) {
  EXPECT_EQ(NearestKnownKey("disabledmissions"), "DisabledMissions");
  EXPECT_EQ(NearestKnownKey("DisabledMission"), "DisabledMissions");
  EXPECT_EQ(NearestKnownKey("DisabledMessages"), "DisabledMessage");
  EXPECT_EQ(NearestKnownKey("Disabled_Mesage"), "DisabledMessage");
  EXPECT_EQ(NearestKnownKey("ShowMissionName"), "ShowMissionNames");
  EXPECT_EQ(NearestKnownKey("SHOWMISSIONNAMES"), "ShowMissionNames");
  EXPECT_EQ(NearestKnownKey("Message"), std::nullopt);
  EXPECT_EQ(NearestKnownKey(""), std::nullopt);
  EXPECT_EQ(EditDistanceIgnoringCase("kitten", "SITTING"), 3u);
  EXPECT_TRUE(IsKnownKey("DisabledMissions"));
  EXPECT_FALSE(IsKnownKey("disabledMissions"));
}

}  // namespace
