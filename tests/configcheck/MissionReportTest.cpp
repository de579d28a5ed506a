// The check's verdict on mission names: switched off or not, by which entry, and why a mission
// that the list names is not switched off.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "configcheck/ToolRun.h"
#include "support/Configs.h"
#include "support/StackThread.h"

namespace {

using nlohmann::json;

using MissionReportTest = ToolTest;

TEST_F(MissionReportTest, EachNameWithItsVerdictAndEntry) {
  const std::string path =
      Write("config.json", R"({"DisabledMissions": ["Race", "hunt", "Hunt"]})");
  const ToolRun run = Run({path, "Great HUNT", "Fishing", "Race the Hunt"});
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Out,
            "mission \"Great HUNT\": switched off by entry 2 \"hunt\"\n"
            "mission \"Fishing\": not switched off\n"
            "mission \"Race the Hunt\": switched off by entry 1 \"Race\"\n" +
                path + ": no problems found\n");

  const json missions = Run({"--json", path, "Great HUNT", "Fishing"}).Json().at("missions");
  ASSERT_EQ(missions.size(), 2u);
  EXPECT_EQ(missions[0], json::parse(R"({"name": "Great HUNT", "disabled": true,
                                         "entry": {"number": 2, "text": "hunt"}, "note": null})"));
  EXPECT_EQ(missions[1], json::parse(R"({"name": "Fishing", "disabled": false, "entry": null,
                                         "note": null})"));
}

TEST_F(MissionReportTest, AnEntryThatIsNoStringHidesTheMatchAfterIt) {
  const json report = Report(R"({"DisabledMissions": ["Race", 3, ["Hunt"], "Fish", "Hunt"]})",
                             {"Great Hunt", "Race day", "Boat"});
  const json& missions = report.at("missions");
  EXPECT_EQ(missions[0].at("disabled"), false);
  EXPECT_EQ(missions[0].at("entry"), nullptr);
  EXPECT_EQ(missions[0].at("note"),
            "entry 2 is a number, not a string, and stops the search "
            "before entry 5 \"Hunt\", which would switch it off");
  EXPECT_EQ(missions[1].at("disabled"), true);  // entry 1, before the stop
  EXPECT_EQ(missions[2].at("note"), "entry 2 is a number, not a string, and stops the search");
  EXPECT_EQ(report.at("exit_status"), 1);
}

TEST_F(MissionReportTest, ShapesOfTheListAsThePluginTriesThem) {
  struct Case {
    const char* config;
    const char* name;
    json entry;  // null when not switched off
  };
  const Case cases[] = {
      {R"({"DisabledMissions": {"z": "Hunt", "a": "Great"}})",
       "Great Hunt",
       {{"number", 1}, {"text", "Great"}}},
      {R"({"DisabledMissions": "Hunt"})", "The hunt", {{"number", 1}, {"text", "Hunt"}}},
      {R"({"DisabledMissions": ["", "Hunt"]})", "Hunt", {{"number", 2}, {"text", "Hunt"}}},
      {R"({"DisabledMissions": ["Ra\u0000ce"]})",
       "Rapids",
       {{"number", 1}, {"text", std::string("Ra\0ce", 5)}}},
      {R"({"DisabledMissions": null})", "Hunt", nullptr},
      {R"({"Other": 1})", "Hunt", nullptr},
      {R"(["Hunt"])", "Hunt", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config);
    const json mission = Report(c.config, {c.name}).at("missions").at(0);
    EXPECT_EQ(mission.at("disabled"), !c.entry.is_null());
    EXPECT_EQ(mission.at("entry"), c.entry);
  }
  EXPECT_EQ(Report(R"(["Hunt"])", {"Hunt"})["missions"][0]["note"],
            "the top level is an array, not an object");
}

TEST_F(MissionReportTest, NamesFromAFileOneALine) {
  const std::string names = Write("names.txt", "\xEF\xBB\xBFGreat Hunt\r\n\r\nFishing\nÉté hunt");
  const json missions = Run({"--json", Write("config.json", R"({"DisabledMissions": ["hunt"]})"),
                             "Race", "--missions", names})
                            .Json()
                            .at("missions");
  ASSERT_EQ(missions.size(), 4u);
  EXPECT_EQ(missions[0].at("name"), "Race");
  EXPECT_EQ(missions[1].at("name"), "Great Hunt");
  EXPECT_EQ(missions[1].at("disabled"), true);
  EXPECT_EQ(missions[2].at("name"), "Fishing");
  EXPECT_EQ(missions[3].at("name"), "Été hunt");
  EXPECT_EQ(missions[3].at("disabled"), true);
}

// What an editor on Windows saves: UTF-16 either way round, with or without a byte order mark.
TEST_F(MissionReportTest, NamesFromAFileSavedAsUtf16) {
  const std::string config = Write("config.json", R"({"DisabledMissions": ["run"]})");
  const struct {
    const char* what;
    std::string bytes;  // "Café Run", then "Hunt", each ending a line
  } files[] = {
      {"little-endian with a mark", std::string("\xFF\xFE"
                                                "C\0a\0f\0\xE9\0 \0R\0u\0n\0\r\0\n\0H\0u\0n\0t\0",
                                                30)},
      {"little-endian without a mark",
       std::string("C\0a\0f\0\xE9\0 \0R\0u\0n\0\n\0H\0u\0n\0t\0\n\0", 28)},
      {"big-endian with a mark", std::string("\xFE\xFF"
                                             "\0C\0a\0f\0\xE9\0 \0R\0u\0n\0\n\0H\0u\0n\0t",
                                             28)},
      {"big-endian without a mark", std::string("\0C\0a\0f\0\xE9\0 \0R\0u\0n\0\n\0H\0u\0n\0t", 26)},
  };
  for (const auto& file : files) {
    SCOPED_TRACE(file.what);
    const ToolRun run = Run({config, "--missions", Write("names.txt", file.bytes)});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out.rfind("mission \"Café Run\": switched off by entry 1 \"run\"\n"
                            "mission \"Hunt\": not switched off\n",
                            0),
              0u)
        << run.Out;
  }
}

// A file not valid UTF-8 is refused by line, never shown raw; so is a name or path of that kind.
TEST_F(MissionReportTest, InvalidUtf8IsRefusedOrShownEscaped) {
  const std::string config = Write("config.json", kHuntOff);
  const ToolRun refused =
      Run({config, "--missions", Write("names.txt", "Great Hunt\nCaf\xE9 Run\n")});
  EXPECT_EQ(refused.Status, 2);
  EXPECT_NE(refused.Err.find("names.txt is not valid UTF-8 at line 2 (byte \\xE9); it looks saved "
                             "in a Windows code page: save it as UTF-8"),
            std::string::npos)
      << refused.Err;

  const std::string odd = Write("conf\xE9.json", kHuntOff);
  const ToolRun text = Run({odd, "Caf\xE9 Hunt"});
  EXPECT_NE(text.Out.find("mission \"Caf\\xE9 Hunt\": switched off by entry 1"), std::string::npos)
      << text.Out;
  EXPECT_NE(text.Out.find("conf\\xE9.json: no problems found"), std::string::npos) << text.Out;
  const json report = Run({"--json", odd, "Caf\xE9"}).Json();
  EXPECT_EQ(report["missions"][0]["name"], "Caf\\xE9");
  EXPECT_NE(report["file"].get<std::string>().find("conf\\xE9.json"), std::string::npos);
}

// A damaged or hostile file of any depth is checked and judged: nothing recurses as deep as it is.
TEST_F(MissionReportTest, DeepNestingIsCheckedAndJudged) {
  const std::size_t depth = 200000;
  const json report = Report(R"({"DisabledMissions": ["Hunt", )" + std::string(depth, '[') +
                                 std::string(depth, ']') + "]}",
                             {"Great Hunt", "Fishing"});
  ASSERT_EQ(report.at("findings").size(), 1u);
  EXPECT_EQ(report["findings"][0].at("column"), 31);
  EXPECT_EQ(report["missions"][0].at("disabled"), true);
  EXPECT_EQ(report["missions"][1].at("note"),
            "entry 2 is an array, not a string, and stops the search");
  EXPECT_EQ(Report(std::string(depth, '[')).at("exit_status"), 2);
}

TEST_F(MissionReportTest, NoVerdictWhenTheFileCannotBeRead) {
  const json report = Report("{\"DisabledMissions\": [\"Hunt\"", {"Hunt"});
  EXPECT_EQ(report.at("exit_status"), 2);
  EXPECT_EQ(report["missions"][0].at("disabled"), nullptr);
  EXPECT_EQ(report["missions"][0].at("note"), "not checked: the file cannot be read");
}

// A file nested a million deep, in the list and under a key the plugin ignores, is checked and
// reported on a stack no larger than a Windows program's main thread has.
TEST_F(MissionReportTest, AFileNestedAMillionDeepIsCheckedOnAWindowsSizedStack) {
  const std::string deep = std::string(1000000, '[') + std::string(1000000, ']');
  const std::string path = Write(
      "config.json", R"({"DisabledMissions": ["Hunt", )" + deep + R"(], "Deep": )" + deep + "}");
  ToolRun run{};
  RunOnThreadWithStack(kGameThreadStackBytes, [&] { run = Run({path, "Great Hunt", "Ride"}); });
  EXPECT_EQ(run.Status, 1);
  EXPECT_NE(run.Out.find("\"DisabledMissions\" entry 2 is an array, not a string"),
            std::string::npos)
      << run.Out.substr(0, 2000);
  EXPECT_NE(run.Out.find("mission \"Great Hunt\": switched off by entry 1 \"Hunt\""),
            std::string::npos);
  EXPECT_NE(run.Out.find("unknown key \"Deep\""), std::string::npos);
}

}  // namespace
