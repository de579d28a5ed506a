// The check's verdict on mission names: switched off or not, by which entry, and why a mission
// that the list names is not switched off.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "configcheck/ToolRun.h"

namespace {

using nlohmann::json;

class MissionReportTest : public ToolTest {};

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

TEST_F(MissionReportTest, NoVerdictWhenTheFileCannotBeRead) {
  const json report = Report("{\"DisabledMissions\": [\"Hunt\"", {"Hunt"});
  EXPECT_EQ(report.at("exit_status"), 2);
  EXPECT_EQ(report["missions"][0].at("disabled"), nullptr);
  EXPECT_EQ(report["missions"][0].at("note"), "not checked: the file cannot be read");
}

}  // namespace
