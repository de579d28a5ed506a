// Which missions the configuration switches off, asked through the plugin's exported query as
// other plugins ask it, and what the query does to a configuration of an unexpected shape.
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "plugin/ForeignString.h"
#include "plugin/SecondPlugin.h"
#include "support/Configs.h"
#include "support/ServerFixture.h"

namespace {

using Answers = std::vector<std::pair<std::string, bool>>;

// "Great Hunt" and its terminator: any read of it finds "Hunt".
const WideChar kGreatHunt[] = QV_WIDE("Great Hunt");
constexpr int32_t kGreatHuntCount = 11;

// Names handed in by other plugins, as (buffer, Count, Capacity), against a configuration that
// switches off "Hunt". Only sound strings may be read; a read of any other would find "Hunt".
struct FieldsCase {
  const char* name;
  const WideChar* chars;
  int32_t count;
  int32_t capacity;
  bool disabled;
};
const FieldsCase kFieldsCases[] = {
    {"well formed", kGreatHunt, kGreatHuntCount, kGreatHuntCount, true},
    {"capacity to spare", kGreatHunt, kGreatHuntCount, 64, true},
    {"empty without a buffer", nullptr, 0, 0, false},
    {"empty with a buffer", kGreatHunt, 0, kGreatHuntCount, false},
    {"negative count", kGreatHunt, -1, kGreatHuntCount, false},
    {"most negative count", kGreatHunt, INT32_MIN, kGreatHuntCount, false},
    {"count above capacity", kGreatHunt, kGreatHuntCount, kGreatHuntCount - 1, false},
    {"negative capacity", kGreatHunt, 0, -1, false},
    {"null buffer with a count", nullptr, kGreatHuntCount, kGreatHuntCount, false},
    {"last counted character not the terminator", kGreatHunt, kGreatHuntCount - 1, kGreatHuntCount,
     false},
};

using MissionFilterTest = ServerTest;

// Loads `config` in a fresh server and checks each (display name, switched off) pair through
// both overloads: the name as given, and a mission of that name in the game.
void ExpectAnswers(ServerTest& test, const std::string& config, const Answers& answers) {
  test.RestartWith(config);
  for (const auto& [name, disabled] : answers) {
    EXPECT_EQ(test.Disabled(name), disabled) << "name \"" << name << "\"";
    AMissionType* mission =
        ServerTest::World().Populate({{{name, 1, "Tag"}}, {}}).Missions()[0].Class->DefaultObject();
    EXPECT_EQ(test.Disabled(mission), disabled) << "mission \"" << name << "\"";
  }
}

// A start of no mission by no character: nothing but the "ShowMissionNames" lookup reads the
// configuration, so the warnings it leaves show what shape the configuration has.
void StartNothing() {
  ServerTest::World().StartMission(nullptr, nullptr, 0);
}
std::vector<std::string> Warnings() {
  return ServerTest::Messages("warning");
}

TEST_F(MissionFilterTest, EntriesMatchAnywhereInTheNameIgnoringCase) {
  ExpectAnswers(*this, kHuntOff,
                {{"Hunt", true},
                 {"Great Hunt", true},
                 {"GREAT HUNT", true},
                 {"hunting grounds", true},
                 {"The hUnT of the Year", true},
                 {"Hun", false},
                 {"Hu nt", false},
                 {"Race", false},
                 {"", false}});
}

TEST_F(MissionFilterTest, FormsOfTheMissionList) {
  struct Case {
    const char* name;
    std::string config;
    Answers answers;
  };
  const Case cases[] = {
      {"array",
       R"({"DisabledMissions": ["Race", "Hunt"]})",
       {{"Great Hunt", true}, {"Race", true}, {"Fishing", false}}},
      {"empty array", R"({"DisabledMissions": []})", {{"Hunt", false}}},
      {"object: values in key order, names ignored",
       R"({"DisabledMissions": {"b": 1, "a": "Hunt"}})",
       {{"Hunt", true}, {"a", false}, {"Race", false}}},
      {"object: a non-string under the first key ends the test",
       R"({"DisabledMissions": {"a": 1, "b": "Hunt"}})",
       {{"Hunt", false}}},
      {"single string", R"({"DisabledMissions": "Hunt"})", {{"Great Hunt", true}, {"Race", false}}},
      {"single number", R"({"DisabledMissions": 5})", {{"5", false}, {"Hunt", false}}},
      {"single boolean", R"({"DisabledMissions": true})", {{"true", false}}},
      {"null", R"({"DisabledMissions": null})", {{"Hunt", false}, {"null", false}}},
      {"key absent", R"({"DisabledMessage": "Hunt"})", {{"Hunt", false}}},
      {"number before the match ends the test",
       R"({"DisabledMissions": [1, "Hunt"]})",
       {{"Hunt", false}}},
      {"number after the match",
       R"({"DisabledMissions": ["Hunt", 1]})",
       {{"Hunt", true}, {"Race", false}}},
      {"nested array",
       R"({"DisabledMissions": [["Hunt"], "Race"]})",
       {{"Hunt", false}, {"Race", false}}},
      {"empty entry matches nothing",
       R"({"DisabledMissions": ["", "Race"]})",
       {{"Hunt", false}, {"", false}, {"Race", true}}},
      {"entry cut at U+0000",
       R"({"DisabledMissions": ["Hu\u0000xyz"]})",
       {{"Great Hunt", true}, {"xyz", false}}},
      {"entry beginning with U+0000", R"({"DisabledMissions": ["\u0000Hunt"]})", {{"Hunt", false}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectAnswers(*this, c.config, c.answers);
  }
}

TEST_F(MissionFilterTest, NonAsciiEntriesAndNames) {
  // UTF-8 in the file, 16-bit text in the game; letters beyond A-Z compare as they are.
  ExpectAnswers(*this,
                "{\"DisabledMissions\": [\"Jagd \xC3\xBC"
                "ber\", \"\xE7\x8B\xA9\xE7\x8C\x9F\", "
                "\"\\u00c9clair\", \"\xF0\x9F\x90\x89\"]}",
                {{"GROSSE JAGD \xC3\xBC"
                  "BER ALLES",
                  true},  // ASCII letters folded, ü as it is
                 {"Jagd \xC3\x9C"
                  "ber",
                  false},  // Ü is not ü
                 {"\xE5\xA4\xA7\xE7\x8B\xA9\xE7\x8C\x9F", true},
                 {"\xC3\x89"
                  "clair au chocolat",
                  true},                                 // \u00c9 in the file is É
                 {"Dragon \xF0\x9F\x90\x89 Run", true},  // a pair of 16-bit units
                 {"Dragon \xF0\x9F\x90\x8A Run", false},
                 {"Jagd uber", false}});
}

TEST_F(MissionFilterTest, NullMissionAnswersFalse) {
  LoadWith(kHuntOff);
  EXPECT_FALSE(Disabled(static_cast<AMissionType*>(nullptr)));
}

TEST_F(MissionFilterTest, UnreadConfigurationSwitchesNothingOffWithoutAWord) {
  LoadPlugin();  // no config.json: the configuration stays null
  ASSERT_EQ(Messages("critical").size(), 1u);

  // Neither a start without a mission nor a query without a mission looks at the list, and the
  // settings take their defaults without blaming a key of a file that was never read.
  StartNothing();
  EXPECT_FALSE(Disabled(static_cast<AMissionType*>(nullptr)));
  // The first real query makes it {"DisabledMissions": null}: an object whose lookups work.
  EXPECT_FALSE(Disabled("Hunt"));
  StartNothing();
  EXPECT_FALSE(Disabled("Hunt"));
  EXPECT_TRUE(Warnings().empty());
  EXPECT_EQ(Messages("critical").size(), 1u);
}

TEST_F(MissionFilterTest, TopLevelArraySwitchesNothingOffAndStaysAnArray) {
  LoadWith(R"(["Hunt"])");
  EXPECT_FALSE(Disabled("Hunt"));
  StartNothing();
  EXPECT_FALSE(Disabled("Hunt"));
  StartNothing();
  const std::vector<std::string> warnings = Warnings();
  ASSERT_EQ(warnings.size(), 1u) << "one for both starts";
  EXPECT_NE(warnings[0].find("cannot use value() with array"), std::string::npos) << warnings[0];
}

TEST_F(MissionFilterTest, OnlySoundNamesAreRead) {
  LoadWith(kHuntOff);
  for (const FieldsCase& c : kFieldsCases) {
    const ForeignString name(c.chars, c.count, c.capacity);
    EXPECT_EQ(Disabled(name.Get()), c.disabled) << c.name;
  }
}

TEST_F(MissionFilterTest, ReloadTakesEffectAtTheNextQuery) {
  LoadWith(kHuntOff);
  ASSERT_TRUE(Disabled("Hunt"));
  WriteConfig(R"({"DisabledMissions": ["Race"]})");
  ReloadFromConsole();
  EXPECT_FALSE(Disabled("Hunt"));
  EXPECT_TRUE(Disabled("Race"));
}

using ClientPluginTest = ServerTest;

TEST_F(ClientPluginTest, AnotherPluginGetsTheFiltersAnswers) {
  LoadWith(kHuntOff);
  const SecondPlugin client;
  const StandIn::Roster world =
      World().Populate({{{"Great Hunt", 1, "Hunt"}, {"Race", 1, "Race"}}, {}});
  AMissionType* hunt = world.Missions()[0].Class->DefaultObject();
  AMissionType* race = world.Missions()[1].Class->DefaultObject();

  EXPECT_EQ(client.Ask("GREAT HUNT"), 1);
  EXPECT_EQ(client.Ask("Race"), 0);
  EXPECT_EQ(client.Ask(hunt), 1);
  EXPECT_EQ(client.Ask(race), 0);
  EXPECT_EQ(client.Ask(static_cast<AMissionType*>(nullptr)), 0);

  WriteConfig(R"({"DisabledMissions": ["Race"]})");
  ReloadFromConsole();
  EXPECT_EQ(client.Ask(hunt), 0);
  EXPECT_EQ(client.Ask(race), 1);
}

TEST_F(ClientPluginTest, AnotherPluginsUnsoundNamesAreNotRead) {
  LoadWith(kHuntOff);
  const SecondPlugin client;
  for (const FieldsCase& c : kFieldsCases)
    EXPECT_EQ(client.Ask(c.chars, c.count, c.capacity), c.disabled ? 1 : 0) << c.name;
}

TEST_F(ClientPluginTest, LookingUpTheQueryKeepsNoHoldOnQuestVeto) {
  const SecondPlugin client;
  EXPECT_EQ(client.Ask("Hunt"), -1) << "QuestVeto is not loaded yet";

  LoadWith(kHuntOff);
  EXPECT_EQ(client.Ask("Hunt"), 1);
  UnloadPlugin();
  EXPECT_EQ(client.Ask("Hunt"), -1) << "QuestVeto stayed loaded after its host let it go";

  LoadWith(R"({"DisabledMissions": ["Race"]})");
  EXPECT_EQ(client.Ask("Hunt"), 0) << "the query of the library loaded now is asked";
  EXPECT_EQ(client.Ask("Race"), 1);
}

}  // namespace
