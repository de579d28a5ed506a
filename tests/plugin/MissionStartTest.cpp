// Mission starts as the game makes them, through the hook: which are refused, what a refused start
// leaves in the game, what reaches the game's own function, and the log lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <string>
#include <tuple>
#include <variant>
#include <vector>

#include "support/Configs.h"
#include "support/Said.h"
#include "support/ServerFixture.h"
#include "support/Shown.h"

namespace {

const char* const kDefaultMessage =
    "This mission has been disabled, but you have had it unlocked now!";
// A fourth argument and game results with the upper 32 bits in use.
constexpr uintptr_t kFourth = 0xFEDCBA9876543210ULL;

using MissionStartTest = ServerTest;

// The plan of the mission most tests switch off.
StandIn::MissionPlan Hunt() {
  return {"Hunt", 7, "HuntTag"};
}
// What the plan of `world` named `name` became.
StandIn::MissionClass& MissionIn(const StandIn::Roster& world, const std::string& name) {
  return *world.FindMission(name)->Class;
}
StandIn::Character& CharacterIn(const StandIn::Roster& world, const std::string& name) {
  return *world.FindPlayer(name)->Character;
}

// The clock read just before and just after a start.
struct StartTime {
  std::time_t before;
  std::time_t after;
};

// A start of `mission` by `character` that must be refused.
StartTime StartRefused(StandIn::MissionClass& mission, StandIn::Character* character) {
  const std::size_t gameStarts = Recorded<StandIn::Journal::GameStart>().size();
  StartTime time{};
  time.before = std::time(nullptr);
  const uintptr_t result = ServerTest::StartMission(&mission, character);
  time.after = std::time(nullptr);
  EXPECT_EQ(result, 0u) << "a refused start answers zero";
  EXPECT_EQ(Recorded<StandIn::Journal::GameStart>().size(), gameStarts)
      << "the game's own start was called";
  return time;
}

// The only mission data written since the test began is the record of a completed `mission`
// in `buff`, written by the refused start at `time`, and replicated once after it.
void ExpectRecordedComplete(StandIn::MissionDataBuff& buff, const StandIn::MissionClass& mission,
                            const StartTime& time) {
  const auto* value = buff.Value(mission.Tag(), "CompleteUtcTime");
  ASSERT_TRUE(value != nullptr && std::holds_alternative<double>(*value));
  const double completed = std::get<double>(*value);
  using Write =
      std::tuple<const void*, std::string, std::string, std::variant<bool, int32_t, double>>;
  std::vector<Write> writes;
  for (const StandIn::Journal::MissionDataWrite& write :
       Recorded<StandIn::Journal::MissionDataWrite>()) {
    writes.emplace_back(write.Buff, write.Tag, write.Name, write.Value);
  }
  const void* const buffObject = buff.Object();
  EXPECT_EQ(writes,
            (std::vector<Write>{{buffObject, mission.Tag(), "Complete", true},
                                {buffObject, mission.Tag(), "Version", mission.Version()},
                                {buffObject, mission.Tag(), "CompleteUtcTime", completed}}));
  const std::vector<StandIn::Journal::Replication> replications =
      Recorded<StandIn::Journal::Replication>();
  ASSERT_EQ(replications.size(), 1u);
  EXPECT_EQ(replications[0].Actor, buffObject);
  // Written before replicated: an order across two kinds of call, which only the journal's text
  // holds.
  const std::string anyWrite = "APrimalBuff_MissionData.SetMissionData_*";
  EXPECT_TRUE(ComesBefore(ServerTest::Journal(), anyWrite, "AActor.ForceReplicateNow(*"));
  EXPECT_GE(completed, static_cast<double>(time.before) - 10.0);
  EXPECT_LE(completed, static_cast<double>(time.after) - 10.0);
  EXPECT_EQ(completed, std::floor(completed)) << "whole seconds";
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST_F(MissionStartTest, RefusedStartByEachKindOfCharacter) {
  struct Case {
    const char* name;
    bool character;   // a character starts the mission
    bool dead;        // ... and is dead
    bool owner;       // Bob is its owner controller
    bool instigator;  // Ann is its instigator controller
    bool missionData;
    const char* notified;  // the player told, or null
  };
  const Case cases[] = {
      {"no character", false, false, false, false, false, nullptr},
      {"dead character", true, true, true, false, true, nullptr},
      {"owner controller first", true, false, true, true, true, "Bob"},
      {"instigator controller", true, false, false, true, true, "Ann"},
      {"no controller", true, false, false, false, true, nullptr},
      {"no mission data", true, false, true, false, false, "Bob"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RestartWith(kHuntOffLogged);
    // The character is Bob's: Bob's controller owns it when `owner`, Ann's instigated it when
    // `instigator`.
    StandIn::PlayerPlan starter{"Bob", !c.dead, c.owner, c.missionData};
    if (c.instigator) starter.InstigatedBy = "Ann";
    StandIn::WorldPlan plan{{Hunt()}, {{"Ann"}}};
    if (c.character) plan.Players.push_back(starter);
    const StandIn::Roster world = World().Populate(plan);
    StandIn::MissionClass& hunt = MissionIn(world, "Hunt");
    StandIn::Character* character = c.character ? &CharacterIn(world, "Bob") : nullptr;

    const StartTime time = StartRefused(hunt, character);

    std::vector<Notice> notices;
    if (c.notified != nullptr) notices.push_back(Refusal(c.notified, kDefaultMessage));
    EXPECT_EQ(NoticesIn(world), notices);
    if (character != nullptr && character->MissionData() != nullptr) {
      ExpectRecordedComplete(*character->MissionData(), hunt, time);
    }
    std::vector<std::string> expectedLines;
    if (c.notified != nullptr) {
      expectedLines.push_back(std::string("Player ") + c.notified +
                              " attempted to start mission: Hunt!");
    }
    EXPECT_EQ(Messages("info"), expectedLines);
    EXPECT_TRUE(Messages("warning").empty());
  }
}

TEST_F(MissionStartTest, NotificationText) {
  struct Case {
    const char* name;
    std::string member;  // the "DisabledMessage" member, or nothing
    std::string shown;
    std::vector<const char*> warning;  // what the one warning says, when the default stands in
  };
  const Case cases[] = {
      {"absent", "", kDefaultMessage, {}},
      {"empty", R"(, "DisabledMessage": "")", "", {}},
      {"doubled braces", R"(, "DisabledMessage": "{{x}} and }}{{")", "{x} and }{", {}},
      {"non-ASCII",
       ", \"DisabledMessage\": \"Gesperrt \xE2\x80\x93 {{Jagd}} \xF0\x9F\x90\x89\"",
       "Gesperrt \xE2\x80\x93 {Jagd} \xF0\x9F\x90\x89",
       {}},
      {"a number",
       R"(, "DisabledMessage": 42)",
       kDefaultMessage,
       {"\"DisabledMessage\"", "type must be string, but is number"}},
      {"null",
       R"(, "DisabledMessage": null)",
       kDefaultMessage,
       {"\"DisabledMessage\"", "type must be string, but is null"}},
      {"replacement field",
       R"(, "DisabledMessage": "Off {}")",
       kDefaultMessage,
       {"\"DisabledMessage\"", "argument not found"}},
      {"lone brace",
       R"(, "DisabledMessage": "Off }")",
       kDefaultMessage,
       {"\"DisabledMessage\"", "unmatched '}' in format string"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RestartWith(R"({"DisabledMissions": ["Hunt"])" + c.member + "}");
    const StandIn::Roster world = World().Populate({{Hunt()}, {{"Bob"}}});
    StandIn::MissionClass& hunt = MissionIn(world, "Hunt");
    StandIn::Character& character = CharacterIn(world, "Bob");

    const StartTime time = StartRefused(hunt, &character);

    EXPECT_EQ(NoticesIn(world), std::vector<Notice>{Refusal("Bob", c.shown)});
    ExpectRecordedComplete(*character.MissionData(), hunt, time);
    const std::vector<std::string> warnings = Messages("warning");
    if (c.warning.empty()) {
      EXPECT_TRUE(warnings.empty());
    } else {
      ASSERT_EQ(warnings.size(), 1u);
      for (const char* part : c.warning) {
        EXPECT_NE(warnings[0].find(part), std::string::npos) << warnings[0];
      }
    }
  }
}

TEST_F(MissionStartTest, ShowMissionNamesOnBothPaths) {
  struct Case {
    const char* name;
    std::string member;  // the "ShowMissionNames" member, or nothing
    std::vector<std::string> lines;
    const char* reason;  // what the warning says, when the value cannot be used
  };
  const Case cases[] = {
      {"true",
       R"(, "ShowMissionNames": true)",
       {"Player Bob started mission: Race!", "Player Bob attempted to start mission: Hunt!"},
       nullptr},
      {"false", R"(, "ShowMissionNames": false)", {}, nullptr},
      {"absent", "", {}, nullptr},
      {"a string", R"(, "ShowMissionNames": "true")", {}, "type must be boolean, but is string"},
      {"a number", R"(, "ShowMissionNames": 1)", {}, "type must be boolean, but is number"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RestartWith(R"({"DisabledMissions": ["Hunt"])" + c.member + "}");
    const StandIn::Roster world = World().Populate({{Hunt(), {"Race", 1, "RaceTag"}}, {{"Bob"}}});
    StandIn::MissionClass& hunt = MissionIn(world, "Hunt");
    StandIn::MissionClass& race = MissionIn(world, "Race");
    StandIn::Character& character = CharacterIn(world, "Bob");

    const uintptr_t passed = StartMission(&race, &character);
    EXPECT_EQ(passed, World().LastGameResult());
    StartRefused(hunt, &character);
    // Starts without a player or a mission: the setting is looked up all the same.
    StartRefused(hunt, nullptr);
    StartMission(nullptr, nullptr);

    EXPECT_EQ(Recorded<StandIn::Journal::GameStart>().size(), 2u);
    EXPECT_EQ(NoticesIn(world), std::vector<Notice>{Refusal("Bob", kDefaultMessage)});
    EXPECT_EQ(Messages("info"), c.lines);
    const std::vector<std::string> warnings = Messages("warning");
    if (c.reason == nullptr) {
      EXPECT_TRUE(warnings.empty());
    } else {
      ASSERT_EQ(warnings.size(), 1u) << "one for the four starts";
      EXPECT_NE(warnings[0].find("\"ShowMissionNames\""), std::string::npos) << warnings[0];
      EXPECT_NE(warnings[0].find(c.reason), std::string::npos) << warnings[0];
    }
  }
}

TEST_F(MissionStartTest, PassedOnStartReachesTheGameUnchanged) {
  LoadWith(kHuntOffLogged);
  const StandIn::Roster world = World().Populate({{{"Race", 3, "RaceTag"}}, {{"Bob"}}});
  StandIn::MissionClass& race = MissionIn(world, "Race");
  StandIn::Character& character = CharacterIn(world, "Bob");

  const uintptr_t result = StartMission(&race, &character, kFourth);

  EXPECT_EQ(
      GameStarts(),
      (std::vector<GameStart>{{World().Dispatcher(), race.Class(), character.Object(), kFourth}}));
  EXPECT_EQ(result, World().LastGameResult());
  EXPECT_NE(result >> 32, 0u) << "the game's result has its upper bits in use";
  EXPECT_TRUE(Recorded<StandIn::Journal::Notification>().empty());
  EXPECT_TRUE(character.MissionData()->Entries().empty());
  EXPECT_EQ(Messages("info"), std::vector<std::string>{"Player Bob started mission: Race!"});
}

TEST_F(MissionStartTest, NullMissionClassIsPassedOnWithoutALine) {
  // "" would switch off every mission if it matched; the filter must not be asked at all.
  LoadWith(R"({"DisabledMissions": ["Hunt", ""], "ShowMissionNames": true})");
  StandIn::Character& character = CharacterIn(World().Populate({{}, {{"Bob"}}}), "Bob");

  const uintptr_t withCharacter = StartMission(nullptr, &character, kFourth);
  EXPECT_EQ(withCharacter, World().LastGameResult());
  const uintptr_t withNothing = StartMission(nullptr, nullptr, 0);
  EXPECT_EQ(withNothing, World().LastGameResult());

  EXPECT_EQ(GameStarts(),
            (std::vector<GameStart>{{World().Dispatcher(), nullptr, character.Object(), kFourth},
                                    {World().Dispatcher(), nullptr, nullptr, 0}}));
  EXPECT_TRUE(Recorded<StandIn::Journal::Notification>().empty());
  EXPECT_TRUE(character.MissionData()->Entries().empty());
  EXPECT_TRUE(Messages("info").empty());
  EXPECT_TRUE(Messages("warning").empty());
}

TEST_F(MissionStartTest, PassedOnStartIsLoggedOnlyForAPlayerWithAController) {
  LoadWith(kHuntOffLogged);
  // Name, alive, controller, mission data, instigated by its own controller.
  const StandIn::Roster world = World().Populate(
      {{{"Race", 1, "RaceTag"}},
       {{"Bob", false}, {"Nobody", true, false}, {"Ann", true, true, true, true}}});
  StandIn::MissionClass& race = MissionIn(world, "Race");
  StandIn::Character& dead = CharacterIn(world, "Bob");
  StandIn::Character& uncontrolled = CharacterIn(world, "Nobody");
  StandIn::Character& instigated = CharacterIn(world, "Ann");

  StartMission(&race, nullptr);
  StartMission(&race, &dead);
  StartMission(&race, &uncontrolled);
  StartMission(&race, &instigated);

  EXPECT_EQ(Recorded<StandIn::Journal::GameStart>().size(), 4u);
  EXPECT_EQ(Messages("info"), std::vector<std::string>{"Player Ann started mission: Race!"});
}

TEST_F(MissionStartTest, NamesInLogLines) {
  struct Case {
    const char* name;
    std::string character;
    std::string mission;
    std::string line;
  };
  const Case cases[] = {
      {"plain", "Bob", "Hunt", "Player Bob started mission: Hunt!"},
      {"non-ASCII kept", "Bj\xC3\xB6rn \xF0\x9F\x90\x89",
       "Gro\xC3\x9F"
       "e Jagd",
       "Player Bj\xC3\xB6rn \xF0\x9F\x90\x89 started mission: Gro\xC3\x9F"
       "e Jagd!"},
      {"empty names", "", "", "Player  started mission: !"},
      {"line break in the character name", "Bob\nPlayer Eve started mission: Race!", "Hunt",
       "Player Bob\\nPlayer Eve started mission: Race! started mission: Hunt!"},
      {"other control characters", "Bob\r\t\x1B", "Hu\x7Fnt\xC2\x85\xE2\x80\xA8",
       "Player Bob\\r\\t\\x1B started mission: Hu\\x7Fnt\\u0085\\u2028!"},
      // Each escaped range at both of its ends, beside the characters just outside it.
      {"ends of the escaped ranges", "\x01\x1F ~",
       "\xC2\x80\xC2\x9F\xC2\xA0\xE2\x80\xA7\xE2\x80\xA8\xE2\x80\xA9\xE2\x80\xAA",
       "Player \\x01\\x1F ~ started mission: \\u0080\\u009F\xC2\xA0\xE2\x80\xA7\\u2028\\u2029"
       "\xE2\x80\xAA!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RestartWith(R"({"DisabledMissions": ["Race"], "ShowMissionNames": true})");
    const StandIn::Roster world = World().Populate({{{c.mission, 1, "Tag"}}, {{c.character}}});
    StandIn::MissionClass& mission = *world.Missions()[0].Class;
    StandIn::Character& character = *world.All()[0].Character;
    const std::string logBefore = LogFile();

    StartMission(&mission, &character);

    EXPECT_EQ(Messages("info"), std::vector<std::string>{c.line});
    const std::string written = LogFile().substr(logBefore.size());
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 1) << written;
    EXPECT_TRUE(EndsWith(written, c.line + "\n")) << written;
  }
}

TEST_F(MissionStartTest, ReloadBetweenTwoStarts) {
  LoadWith(kHuntOff);
  const StandIn::Roster world = World().Populate({{Hunt(), {"Race", 2, "RaceTag"}}, {{"Bob"}}});
  StandIn::MissionClass& hunt = MissionIn(world, "Hunt");
  StandIn::MissionClass& race = MissionIn(world, "Race");
  StandIn::Character& character = CharacterIn(world, "Bob");

  StartRefused(hunt, &character);
  EXPECT_EQ(NoticesIn(world), std::vector<Notice>{Refusal("Bob", kDefaultMessage)});
  EXPECT_TRUE(Messages("info").empty());

  WriteConfig(
      R"({"DisabledMissions": ["Race"], "DisabledMessage": "Race is off", "ShowMissionNames": true})");
  ReloadFromConsole();

  const uintptr_t result = StartMission(&hunt, &character);
  EXPECT_EQ(result, World().LastGameResult());
  EXPECT_EQ(StartMission(&race, &character), 0u);
  EXPECT_EQ(Recorded<StandIn::Journal::GameStart>().size(), 1u);
  EXPECT_EQ(NoticesIn(world),
            (std::vector<Notice>{Refusal("Bob", kDefaultMessage), Refusal("Bob", "Race is off")}));
  EXPECT_EQ(Messages("info"),
            (std::vector<std::string>{"Player Bob started mission: Hunt!",
                                      "Player Bob attempted to start mission: Race!"}));
}

TEST_F(MissionStartTest, EachConfigurationProblemIsLoggedOncePerRead) {
  struct Case {
    const char* name;
    std::string config;
    std::vector<const char*> reasons;  // one warning each, in the order a start meets them
  };
  const Case cases[] = {
      {"a string for a boolean",
       R"({"DisabledMissions": ["Hunt"], "ShowMissionNames": "yes"})",
       {"type must be boolean, but is string"}},
      {"a replacement field in the message",
       R"({"DisabledMissions": ["Hunt"], "DisabledMessage": "Off {}"})",
       {"argument not found"}},
      {"two keys wrong",
       R"({"DisabledMissions": ["Hunt"], "DisabledMessage": 1, "ShowMissionNames": 1})",
       {"type must be string, but is number", "type must be boolean, but is number"}},
      {"not an object", R"(["Hunt"])", {"cannot use value() with array"}},
  };
  const std::string fixed = R"({"DisabledMissions": ["Hunt"], "ShowMissionNames": false})";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RestartWith(c.config);
    const StandIn::Roster world = World().Populate({{Hunt()}, {{"Bob"}}});
    StandIn::MissionClass& hunt = MissionIn(world, "Hunt");
    StandIn::Character& character = CharacterIn(world, "Bob");
    const auto startMany = [&](int starts) {
      for (int i = 0; i < starts; ++i) StartMission(&hunt, &character);
    };

    startMany(1000);
    const std::vector<std::string> warnings = Messages("warning");
    ASSERT_EQ(warnings.size(), c.reasons.size());
    for (std::size_t i = 0; i < warnings.size(); ++i) {
      EXPECT_NE(warnings[i].find(c.reasons[i]), std::string::npos) << warnings[i];
    }

    ReloadFromConsole();
    EXPECT_EQ(Messages("warning").size(), c.reasons.size()) << "the reload itself warned";
    startMany(2);
    EXPECT_EQ(Messages("warning").size(), 2 * c.reasons.size()) << "not once more after the reload";

    WriteConfig("{");
    ReloadFromConsole();
    startMany(2);
    EXPECT_EQ(Messages("warning").size(), 2 * c.reasons.size())
        << "a failed read made them forgotten";

    WriteConfig(fixed);
    ReloadFromConsole();
    startMany(2);
    EXPECT_EQ(Messages("warning").size(), 2 * c.reasons.size()) << "the mended file warned";
  }
}

}  // namespace
