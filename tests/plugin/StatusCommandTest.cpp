// "qv.status" as the console and RCON clients give it: what the operator is told of the
// configuration in force, its reads and the hook, and that a status that fails harms nothing.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "plugin/FaultHarness.h"
#include "plugin/Version.h"
#include "standin/HeapAndFaults.h"
#include "standin/Registries.h"
#include "standin/World.h"
#include "support/Configs.h"
#include "support/Said.h"
#include "support/ServerFixture.h"
#include "support/Shown.h"

namespace {

const char* const kTime = R"(\d\d/\d\d/\d\d \d\d:\d\d)";
const char* const kDefaultMessage =
    R"(DisabledMessage: "This mission has been disabled, but you have had it unlocked now!")";

using StatusCommandTest = ServerTest;

// The chat lines Ann (`ann`) was sent by a "qv.status" she typed, the earlier ones left out.
std::vector<std::string> StatusToAnn(StandIn::Controller& ann) {
  const std::size_t before = ChatsTo(ann).size();
  EXPECT_EQ(
      StandIn::Commands::Console("qv.status", reinterpret_cast<APlayerController*>(ann.Object())),
      "");
  std::vector<std::string> lines;
  const std::vector<Chat> chats = ChatsTo(ann);
  for (std::size_t at = before; at < chats.size(); ++at) {
    EXPECT_EQ(chats[at], (Chat{chats[at].Text, kGreen})) << "not green, or flagged";
    lines.push_back(chats[at].Text);
  }
  return lines;
}

// `lines` against `expected`, where each expected line is a regular expression.
void ExpectLines(const std::vector<std::string>& lines, const std::vector<std::string>& expected) {
  ASSERT_EQ(lines.size(), expected.size()) << testing::PrintToString(lines);
  for (std::size_t at = 0; at < lines.size(); ++at) {
    EXPECT_TRUE(std::regex_match(lines[at], std::regex(expected[at])))
        << lines[at] << "\n  does not match\n"
        << expected[at];
  }
}

// `text` with the characters regular expressions give a meaning escaped.
std::string Literal(const std::string& text) {
  return std::regex_replace(text, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)");
}

// The last line: which plugin answers, the version its log's load line names too.
std::string VersionLine() {
  return Literal(std::string("Version: ") + kPluginVersion);
}

TEST_F(StatusCommandTest, PlayerIsToldTheConfigInForceItsReadAndTheHook) {
  StandIn::Controller& ann = *AddPlayer({"Ann"}).Controller;
  LoadWith(R"({"DisabledMissions": ["Hunt", "Race to the Summit"], "ShowMissionNames": true,
               "DisabledMessage": "Not today {{sorry}}"})");
  ExpectLines(StatusToAnn(ann), {
                                    "QuestVeto status",
                                    "Config file: " + Literal(ConfigPath()),
                                    std::string("Config read at ") + kTime,
                                    Literal(R"(2 entries of "DisabledMissions" in force: "Hunt", )"
                                            R"("Race to the Summit")"),
                                    Literal(R"(DisabledMessage: "Not today {{sorry}}")"),
                                    "ShowMissionNames: true",
                                    "Mission start hook: placed",
                                    VersionLine(),
                                });
}

// What is shown of the entries: the first five by text as written in config.json, whatever their
// characters, cut when long, the rest counted; the count stops where the filter's search stops.
TEST_F(StatusCommandTest, EntriesAreCountedAsTheFilterTriesThemAndTheFirstFiveShown) {
  StandIn::Controller& ann = *AddPlayer({"Ann"}).Controller;
  struct Case {
    const char* list;
    const char* shown;
  };
  const Case cases[] = {
      {"[]", R"(0 entries of "DisabledMissions" in force)"},
      {"null", R"(0 entries of "DisabledMissions" in force)"},
      {R"("Hunt")", R"(1 entry of "DisabledMissions" in force: "Hunt")"},
      {R"(["a", "b", "c", "d", "e"])",
       R"(5 entries of "DisabledMissions" in force: "a", "b", "c", "d", "e")"},
      {R"(["a", "b", "c", "d", "e", "f", "g"])",
       R"(7 entries of "DisabledMissions" in force: "a", "b", "c", "d", "e" and 2 more)"},
      {R"(["Hunt", 3, "Race"])", R"(1 entry of "DisabledMissions" in force: "Hunt")"},
      {R"([3, "Hunt"])", R"(0 entries of "DisabledMissions" in force)"},
      {R"(["Охота", "line\nbreak", "tab\there", "quote\"d"])",
       R"(4 entries of "DisabledMissions" in force: "Охота", "line\nbreak", "tab\there", )"
       R"("quote\"d")"},
  };
  // Long entries are cut after 60 characters, letters beyond ASCII counted whole.
  const std::string sixty(60, 'x');
  std::string wolves;
  for (int i = 0; i < 12; ++i) wolves += "Волки";  // 60 characters
  const std::string longCases[][2] = {
      {"[\"" + sixty + "\"]", "1 entry of \"DisabledMissions\" in force: \"" + sixty + "\""},
      {"[\"" + sixty + "y\"]", "1 entry of \"DisabledMissions\" in force: \"" + sixty + "…\""},
      {"[\"" + wolves + "!\"]", "1 entry of \"DisabledMissions\" in force: \"" + wolves + "…\""},
      {"[\"" + std::string(1 << 20, 'z') + "\"]",
       "1 entry of \"DisabledMissions\" in force: \"" + std::string(60, 'z') + "…\""},
  };
  LoadWith(R"({"DisabledMissions": []})");
  const auto shownFor = [this, &ann](const std::string& list) {
    WriteConfig(R"({"DisabledMissions": )" + list + "}");
    ReloadFromConsole();
    const std::vector<std::string> lines = StatusToAnn(ann);
    return lines.size() == 8u ? lines[3] : testing::PrintToString(lines);
  };
  for (const Case& c : cases) EXPECT_EQ(shownFor(c.list), c.shown) << c.list;
  for (const auto& c : longCases) EXPECT_EQ(shownFor(c[0]), c[1]) << c[1];
}

TEST_F(StatusCommandTest, ReadsThatFailedAreToldWithTheirReasonAndWhatStaysInForce) {
  StandIn::Controller& ann = *AddPlayer({"Ann"}).Controller;
  RemoveConfig();
  LoadPlugin();
  ExpectLines(StatusToAnn(ann), {
                                    "QuestVeto status",
                                    "Config file: " + Literal(ConfigPath()),
                                    std::string("Config not read \\(tried at ") + kTime +
                                        "\\), no mission is disabled: Can't open config\\.json",
                                    Literal(R"(0 entries of "DisabledMissions" in force)"),
                                    kDefaultMessage,
                                    "ShowMissionNames: false",
                                    "Mission start hook: placed",
                                    VersionLine(),
                                });

  WriteConfig(kHuntOff);
  ReloadFromConsole();
  WriteConfig(R"({"DisabledMissions": ["Raid",]})");
  ReloadFromConsole();
  ExpectLines(
      StatusToAnn(ann),
      {
          "QuestVeto status",
          "Config file: " + Literal(ConfigPath()),
          std::string("Config read at ") + kTime,
          std::string("Last read failed at ") + kTime +
              ", the config read before stays in force: "
              R"(\[json\.exception\.parse_error\.101\] parse error at line 1, column 30: .*)",
          Literal(R"(1 entry of "DisabledMissions" in force: "Hunt")"),
          kDefaultMessage,
          "ShowMissionNames: false",
          "Mission start hook: placed",
          VersionLine(),
      });

  // A good read after the failure: the failure is no longer news.
  WriteConfig(R"({"DisabledMissions": ["Raid"]})");
  ReloadFromConsole();
  const std::vector<std::string> lines = StatusToAnn(ann);
  ASSERT_EQ(lines.size(), 8u) << testing::PrintToString(lines);
  EXPECT_EQ(lines[3], R"(1 entry of "DisabledMissions" in force: "Raid")");
}

TEST_F(StatusCommandTest, SettingsThatCannotBeUsedAreShownAsTheyApplyWithoutAWarning) {
  StandIn::Controller& ann = *AddPlayer({"Ann"}).Controller;
  struct Case {
    const char* config;
    std::string message;  // the status line of each setting
    std::string show;
  };
  const Case cases[] = {
      {R"({"DisabledMessage": "Closed {}", "ShowMissionNames": "yes"})", kDefaultMessage,
       "ShowMissionNames: false"},
      {R"({"DisabledMessage": 5, "ShowMissionNames": 1})", kDefaultMessage,
       "ShowMissionNames: false"},
      {R"({"DisabledMessage": "Closed {{now}}", "ShowMissionNames": true})",
       R"(DisabledMessage: "Closed {{now}}")", "ShowMissionNames: true"},
      {R"(["Hunt"])", kDefaultMessage, "ShowMissionNames: false"},
  };
  LoadWith(kHuntOff);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config);
    WriteConfig(c.config);
    ReloadFromConsole();
    const std::vector<std::string> lines = StatusToAnn(ann);
    ASSERT_EQ(lines.size(), 8u) << testing::PrintToString(lines);
    EXPECT_EQ(lines[4], c.message);
    EXPECT_EQ(lines[5], c.show);
  }
  // The warning of a value that cannot be used is the first start's, as without the status.
  EXPECT_TRUE(Messages("warning").empty()) << testing::PrintToString(Messages("warning"));
}

TEST_F(StatusCommandTest, HookTheHostDidNotPlaceIsToldAsNotPlaced) {
  ASSERT_TRUE(RunWithFailing(
                  *this, Fails("IHooks.InstallHook(*"), [&] { WriteConfig(kHuntOff); },
                  [&] { LoadPlugin(); })
                  .struck);
  StandIn::Controller& ann = *AddPlayer({"Ann"}).Controller;
  const std::vector<std::string> lines = StatusToAnn(ann);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], "Mission start hook: not placed");
}

TEST_F(StatusCommandTest, RconGetsTheLinesInOneReplyUnderItsRequestId) {
  LoadWith(R"({"DisabledMissions": ["Охота"], "DisabledMessage": "Nein"})");
  StandIn::RconConnection& connection = World().AddRconConnection();
  EXPECT_EQ(StandIn::Commands::Rcon(connection, 42, "qv.status"), "");
  const std::vector<Reply> replies = RepliesOn(connection);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0], (Reply{42, replies[0].Text})) << "not under the request id, or not type 0";
  const std::string& text = replies[0].Text;
  const std::string head = "QuestVeto status\nConfig file: " + ConfigPath() + "\nConfig read at ";
  EXPECT_EQ(text.substr(0, head.size()), head);
  const std::string tail =
      "\n1 entry of \"DisabledMissions\" in force: \"Охота\"\n"
      "DisabledMessage: \"Nein\"\nShowMissionNames: false\nMission start hook: placed\nVersion: " +
      std::string(kPluginVersion);
  ASSERT_GE(text.size(), tail.size());
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail) << text;
}

TEST_F(StatusCommandTest, ServerConsoleIsSentNothingAndAFailedStatusIsLoggedAndContained) {
  LoadWith(kHuntOff);
  AddPlayer({"Ann"});
  EXPECT_EQ(StandIn::Commands::Console("qv.status", nullptr), "");
  EXPECT_TRUE(Recorded<StandIn::Journal::ChatMessage>().empty());
  EXPECT_TRUE(Messages("critical").empty());

  // The server directory cannot be had for the path: nothing is answered, the reason is logged.
  StandIn::RconConnection& connection = World().AddRconConnection();
  StandIn::Faults::FailAt(1, StandIn::Faults::HostFailure::BadAlloc);
  EXPECT_EQ(StandIn::Commands::Rcon(connection, 3, "qv.status"), "");
  StandIn::Faults::Disarm();
  EXPECT_TRUE(RepliesOn(connection).empty());
  StandIn::Faults::FailAt(1, StandIn::Faults::HostFailure::Foreign);
  StandIn::Commands::Rcon(connection, 4, "qv.status");
  StandIn::Faults::Disarm();
  EXPECT_EQ(Messages("critical"), (std::vector<std::string>{"qv.status failed: " + kBadAlloc,
                                                            "qv.status failed: unknown error"}));
  EXPECT_TRUE(Disabled("Hunt")) << "the configuration in force changed";
  EXPECT_EQ(StandIn::Commands::Rcon(connection, 5, "qv.status"), "");
  EXPECT_EQ(RepliesOn(connection).size(), 1u) << "the server stopped answering";
}

}  // namespace
