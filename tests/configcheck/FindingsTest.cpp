// What the config check reports about a config.json, where, and with which exit status.
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "configcheck/ToolRun.h"
#include "tools/configcheck/ConfigCheck.h"

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

using FindingsTest = ToolTest;

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
  ExpectFindings(
      report, {{4, 5, "DisabledMissions", "entry 2 is empty: it matches no mission"},
               {5, 5, "DisabledMissions",
                "entry 3 holds the character U+0000: the plugin matches only "
                "the text before it, \"Race\""},
               {6, 5, "DisabledMissions",
                "entry 4 is a number, not a string: the plugin stops at it "
                "and never tries the entry after it"},
               {9, 22, "DisabledMessage", "\"DisabledMessage\" is rejected by the formatter"},
               {10, 23, "ShowMissionNames", "\"ShowMissionNames\" is a number, not a boolean"},
               {11, 3, "disabledmessage", "unknown key \"disabledmessage\": the plugin ignores it"},
               {12, 3, "Colour", "unknown key \"Colour\": the plugin ignores it"},
               {14, 1, "", "text after the closing brace"}});
  // "DisabledMessage" itself is there, so the plugin takes neither key for a misspelling of it.
  for (const std::size_t unknown : {5, 6}) {
    EXPECT_EQ(report["findings"][unknown]["message"].get<std::string>().find("did you mean"),
              std::string::npos);
  }
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
  ExpectFindings(
      Report(R"({"DisabledMissions": ["Hunt"], "ShowConfigSummary": 1})"),
      {{1, 53, "ShowConfigSummary", "\"ShowConfigSummary\" is a number, not a boolean"}});
  ExpectFindings(Report(R"({"DisabledMissions": ["Hunt"], "showConfigSumary": true})"),
                 {{1, 32, "showConfigSumary", "did you mean \"ShowConfigSummary\"?"}});
}

TEST_F(FindingsTest, WhatSwitchesNothingOffOrSurprisesThePlayer) {
  const struct {
    const char* config;
    Expected finding;
  } cases[] = {
      {"{}", {1, 1, "", "no \"DisabledMissions\": the plugin switches no mission off"}},
      {"\n  {\"ShowMissionNames\": true}", {2, 3, "", "no \"DisabledMissions\""}},
      {R"({"DisabledMissions": null})",
       {1, 22, "DisabledMissions", "is null: the plugin switches no mission off"}},
      {R"({"DisabledMissions": []})",
       {1, 22, "DisabledMissions", "is an empty list: the plugin switches no mission off"}},
      {R"({"DisabledMissions": {}})",
       {1, 22, "DisabledMissions", "is an empty object: the plugin switches no mission off"}},
      {R"({"DisabledMissions": ["Hunt"], "DisabledMessage": ""})",
       {1, 51, "DisabledMessage", "is empty: a refused player sees a blank notification"}},
      {R"({"DisabledMissions": ["Hunt", "Охота"]})",
       {1, 31, "DisabledMissions",
        "entry 2 \"Охота\" holds \"О\", a letter outside A-Z: the plugin ignores the case of "
        "A-Z only"}},
      {R"({"DisabledMissions": ["Caf\u00c9"]})",
       {1, 23, "DisabledMissions", "entry 1 \"CafÉ\" holds \"É\", a letter outside A-Z"}},
      {R"({"DisabledMissions": [" Hunt "]})",
       {1, 23, "DisabledMissions",
        "entry 1 \" Hunt \" begins or ends with white space (U+0020), which the plugin matches as "
        "written: a name that has \"Hunt\" at its start or end is not switched off"}},
      {R"({"DisabledMissions": ["Hunt", "Race\t"]})",
       {1, 31, "DisabledMissions", "entry 2 \"Race\\t\" begins or ends with white space (U+0009)"}},
      {R"({"DisabledMissions": "\nHunt"})",
       {1, 22, "DisabledMissions", "entry 1 \"\\nHunt\" begins or ends with white space (U+000A)"}},
      // Carriage return, vertical tab and form feed, at either end.
      {R"({"DisabledMissions": ["\rHunt"]})",
       {1, 23, "DisabledMissions", "entry 1 \"\\rHunt\" begins or ends with white space (U+000D)"}},
      {R"({"DisabledMissions": ["Hunt\u000b"]})",
       {1, 23, "DisabledMissions", "begins or ends with white space (U+000B)"}},
      {R"({"DisabledMissions": ["\fHunt"]})",
       {1, 23, "DisabledMissions", "begins or ends with white space (U+000C)"}},
      {R"({"DisabledMissions": ["Hunt\r"]})",
       {1, 23, "DisabledMissions", "begins or ends with white space (U+000D)"}},
      // White space beyond ASCII, as copied names bring it.
      {R"({"DisabledMissions": ["Hunt\u00a0"]})",
       {1, 23, "DisabledMissions",
        "entry 1 \"Hunt\\u00a0\" begins or ends with white space (U+00A0), which the plugin "
        "matches as written: a name that has \"Hunt\" at its start"}},
      {R"({"DisabledMissions": ["\u3000Hunt\u2003"]})",
       {1, 23, "DisabledMissions", "white space (U+3000, U+2003)"}},
      {R"({"DisabledMissions": ["\ufeffHunt"]})",
       {1, 23, "DisabledMissions", "white space (U+FEFF)"}},
      {R"({"DisabledMissions": ["Hunt\u200b\u200a"]})",
       {1, 23, "DisabledMissions", "white space (U+200A, U+200B)"}},
      {R"({"DisabledMissions": ["  "]})",
       {1, 23, "DisabledMissions",
        "entry 1 \"  \" is only white space (U+0020): it switches off every name that holds it"}},
      {R"({"DisabledMissions": ["\u2028\u00a0"]})",
       {1, 23, "DisabledMissions", "is only white space (U+2028, U+00A0)"}},
      // One string holding commas: one entry, searched for whole.
      {R"({"DisabledMissions": "Hunt, Race to the Summit"})",
       {1, 22, "DisabledMissions",
        "\"DisabledMissions\" is one string that holds commas: the plugin searches for it whole, "
        "commas included; a list of names is written [\"Hunt\", \"Race to the Summit\"]"}},
      {R"({"DisabledMissions": ",Hunt,,Race ,"})",
       {1, 22, "DisabledMissions", "written [\"Hunt\", \"Race\"]"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.config);
    ExpectFindings(Report(c.config), {c.finding});
  }
}

TEST_F(FindingsTest, AnEntryThatSwitchesOffMostOfTheListedMissions) {
  const std::string missions =
      Write("missions.txt", "The Great Hunt\nHunter's Moon\nhunting Trip\nRace Day\n");
  // "hunt" switches off three of the four, "a" exactly two (not more than half), "Race" one.
  const std::string config = Write("config.json", R"({"DisabledMissions": [
    "a",
    "hunt",
    "Race"
  ]})");
  const json report = Run({"--json", config, "--missions", missions}).Json();
  const std::string excerpt =
      "entry 2 \"hunt\" switches off 3 of the 4 missions in " + missions + ", more than half";
  ExpectFindings(report, {{3, 5, "DisabledMissions", excerpt.c_str()}});
  EXPECT_EQ(report.at("missions").size(), 4u) << "the listed missions still get their verdicts";
  // Names on the command line are looked up, not weighed.
  ExpectFindings(Run({"--json", config, "The Great Hunt", "Hunter's Moon"}).Json(), {});
}

TEST_F(FindingsTest, ParseErrorsOfCommonCausesCarryAHint) {
  const struct {
    std::string text;
    std::size_t line;
    std::size_t column;
    const char* hint;  // "" for none
  } cases[] = {
      {"{\"a\": 1 // note\n}", 1, 9, "config.json cannot hold comments; remove the comment"},
      {"/* note */ {}", 1, 1, "cannot hold comments"},
      {"{\n  \"a\": [1, 2,]\n}", 2, 14,
       "a comma after the last member or entry is not allowed; remove the one at line 2, column "
       "13"},
      {"{\"a\": 1,\n\n}", 3, 1, "remove the one at line 1, column 8"},
      {"{\"a\": 1\n \"b\": 2}", 2, 4,
       "a comma is missing before this: members and list entries are separated by commas"},
      {"{\"a\": [\"x\" \"y\"]}", 1, 14, "a comma is missing"},
      {"{\"a\": true {}}", 1, 12, "a comma is missing"},
      {std::string("\xFF\xFE{\0}\0", 6), 1, 1, "the file looks saved as UTF-16; save it as UTF-8"},
      {std::string("{\0}\0", 4), 1, 2, "saved as UTF-16"},
      {"{'DisabledMissions': []}", 1, 2,
       "JSON strings and keys are written in double quotes: \"Hunt\", not 'Hunt'"},
      {"{\"DisabledMissions\": [\n  'Hunt']}", 2, 3, "written in double quotes"},
      {"{\"DisabledMessage\": \"Don't\", \"a\": 'x'}", 1, 35, "written in double quotes"},
      // An apostrophe inside a double-quoted string is not the cause: the trailing comma is.
      {"{\"DisabledMissions\": [\"Don't\",]}", 1, 31, "a comma after the last member or entry"},
      {"{\"DisabledMissions\": [\"Don't\"] \"a\": 1}", 1, 34, "a comma is missing"},
      {"", 1, 1, "the file is empty or holds only white space; the plugin needs a JSON object"},
      {" \r\n\t\n", 3, 1, "the file is empty or holds only white space"},
      {"\xEF\xBB\xBF\n", 2, 1, "the file is empty"},
      // Saved in a Windows code page: "Café" in Windows-1252.
      {"{\"DisabledMissions\": [\"Caf\xE9 Run\"]}", 1, 28,
       "the file is not valid UTF-8 (byte \\xE9 at line 1, column 27); it looks saved in a "
       "Windows code page: save it as UTF-8"},
      {"{\n  \"DisabledMessage\": \"\x93Hi\x94\"}", 2, 23, "byte \\x93 at line 2, column 23"},
      {"{\"a\" 1}", 1, 6, ""},
      {"{\"a\": 1 / 2}", 1, 9, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const json report = Report(c.text);
    EXPECT_EQ(report.at("findings").size(), 1u);
    if (report.at("findings").empty()) continue;
    const json& finding = report["findings"][0];
    const std::string message = finding.at("message");
    EXPECT_EQ(message.rfind("[json.exception.parse_error.101] parse error at line ", 0), 0u)
        << "the library's message comes first";
    EXPECT_EQ(finding.at("line"), c.line);
    EXPECT_EQ(finding.at("column"), c.column);
    const std::size_t hint = message.find("; hint: ");
    if (*c.hint == '\0') {
      EXPECT_EQ(hint, std::string::npos) << message;
    } else {
      EXPECT_NE(hint, std::string::npos) << message;
      if (hint != std::string::npos) {
        EXPECT_NE(message.find(c.hint, hint), std::string::npos) << message;
      }
    }
  }
}

TEST_F(FindingsTest, WhatThePluginReadsAsMeantIsClean) {
  for (const char* config : {
           R"({"DisabledMissions": ["Hunt", "Race"], "DisabledMessage": "No {{way}}!",
               "ShowMissionNames": true})",
           R"({"DisabledMissions": "Hunt"})",
           // Letters without case beyond A-Z: nothing to ignore.
           R"({"DisabledMissions": ["Race – 2", "狩猎"]})",
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

TEST_F(FindingsTest, AMissingFileNamesTheFilesBesideItThatWereMostLikelyMeant) {
  const std::string cannotOpen =
      "the file cannot be opened (No such file or directory); the plugin reports \"Can't open "
      "config.json\"";
  const std::string renameTxt =
      "; hint: found \"config.json.txt\" where config.json belongs: rename it to config.json "
      "(Windows hides known extensions)";
  const struct {
    std::vector<std::string> Beside;
    std::string Message;
  } cases[] = {
    {{}, cannotOpen},
    {{"config.json.txt", "config.sample.json", "other.json"}, cannotOpen + renameTxt},
    {{"config.sample.json"},
     cannotOpen + "; hint: found \"config.sample.json\" where config.json belongs: copy it to "
                  "config.json"},
#if !defined(_WIN32)  // names that differ in letter case only are one file on Windows
    {{"config.json.txt", "Config.JSON"},
     cannotOpen +
         "; hint: found \"Config.JSON\" where config.json belongs: rename it to config.json "
         "(the name is matched letter case too)" +
         renameTxt},
#endif
  };
  for (const auto& beside : cases) {
    SCOPED_TRACE(testing::PrintToString(beside.Beside));
    TearDown();
    SetUp();
    for (const std::string& name : beside.Beside) Write(name, "{}");
    const json report = Run({"--json", PathOf("config.json")}).Json();
    ASSERT_EQ(report["findings"].size(), 1u) << report.dump(2);
    EXPECT_EQ(report["findings"][0]["severity"], "error");
    EXPECT_EQ(report["findings"][0]["message"], beside.Message);
    EXPECT_EQ(report["exit_status"], 2);
  }
}

TEST_F(FindingsTest, TextReportLinesAndExitStatus) {
  const std::string path = Write(
      "config.json", "{\n  \"ShowMissionNames\": \"yes\",\n  \"DisabledMissions\": [\"Hunt\"]\n}");
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

// Each sequence on a limit of well-formed UTF-8 and the one beside it: kept when well formed,
// each byte shown as \xHH when not. The surrogates lie between U+D7FF and U+E000.
TEST(QuotedTest, WellFormedUtf8EndsExactlyAtItsLimits) {
  const std::pair<std::string, std::string> cases[] = {
      {"\xED\x9F\xBF", "\"\xED\x9F\xBF\""},           // U+D7FF, the last before the surrogates
      {"\xED\xA0\x80", R"("\xED\xA0\x80")"},          // U+D800, the first surrogate
      {"\xED\xBF\xBF", R"("\xED\xBF\xBF")"},          // U+DFFF, the last surrogate
      {"\xEE\x80\x80", "\"\xEE\x80\x80\""},           // U+E000, the first after them
      {"\xE0\xA0\x80", "\"\xE0\xA0\x80\""},           // U+0800, the first of three bytes
      {"\xE0\x9F\xBF", R"("\xE0\x9F\xBF")"},          // U+07FF in three bytes: overlong
      {"\xF0\x90\x80\x80", "\"\xF0\x90\x80\x80\""},   // U+10000, the first of four bytes
      {"\xF0\x8F\xBF\xBF", R"("\xF0\x8F\xBF\xBF")"},  // U+FFFF in four bytes: overlong
      {"\xF4\x8F\xBF\xBF", "\"\xF4\x8F\xBF\xBF\""},   // U+10FFFF, the last
      {"\xF4\x90\x80\x80", R"("\xF4\x90\x80\x80")"},  // above it
      {"\xC2\xA9", "\"\xC2\xA9\""},                   // the first lead of two bytes
      {"\xC1\xBF", R"("\xC1\xBF")"},                  // U+007F in two bytes: overlong
      {"\xED\x9F", R"("\xED\x9F")"},                  // cut short at the end
  };
  for (const auto& [text, quoted] : cases) EXPECT_EQ(Quoted(text), quoted) << quoted;
}

}  // namespace
