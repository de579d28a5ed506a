// "qv.reload" as the console and RCON clients give it: the re-read, the replies and the log.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "standin/Registries.h"
#include "standin/World.h"
#include "support/Configs.h"
#include "support/Said.h"
#include "support/ServerFixture.h"
#include "support/Shown.h"

namespace {

const char* const kRaidConfig = R"({"DisabledMissions": ["Raid"]})";
const char* const kReloaded = "QuestVeto: Reloaded config";
const char* const kFailed = "QuestVeto: Failed to reload config";

APlayerController* AsPlayer(StandIn::Controller& controller) {
  return reinterpret_cast<APlayerController*>(controller.Object());
}

using ReloadCommandsTest = ServerTest;

// Every line the plugin wrote to the host's sinks.
JournalEntries PluginLines() {
  return Matching(ServerTest::Journal(), "log [QuestVeto]*");
}

TEST_F(ReloadCommandsTest, PlayerReloadsAValidFileAndIsToldInGreen) {
  LoadWith(kHuntOff);
  StandIn::Controller& player = *AddPlayer({"Ann"}).Controller;
  WriteConfig(kRaidConfig);

  EXPECT_EQ(StandIn::Commands::Console("qv.reload", AsPlayer(player)), "");
  EXPECT_EQ(ChatsTo(player), (std::vector<Chat>{{kReloaded, kGreen}}));
  EXPECT_TRUE(Disabled("Raid"));
  EXPECT_FALSE(Disabled("Hunt"));
  EXPECT_EQ(PluginLines(), JournalEntries{}) << "a good reload logs nothing unless asked";

  // Words after the command name change nothing.
  WriteConfig(kHuntOff);
  EXPECT_EQ(StandIn::Commands::Console("qv.reload now please", AsPlayer(player)), "");
  EXPECT_EQ(ChatsTo(player), (std::vector<Chat>{{kReloaded, kGreen}, {kReloaded, kGreen}}));
  EXPECT_TRUE(Disabled("Hunt"));
  EXPECT_EQ(PluginLines(), JournalEntries{});
}

TEST_F(ReloadCommandsTest, RconReloadWithoutAFileFailsUnderTheRequestIdAndKeepsTheConfig) {
  LoadWith(kHuntOff);
  StandIn::RconConnection& connection = World().AddRconConnection();
  RemoveConfig();

  EXPECT_EQ(StandIn::Commands::Rcon(connection, 7, "qv.reload"), "");
  EXPECT_EQ(RepliesOn(connection), (std::vector<Reply>{{7, kFailed}}));
  EXPECT_EQ(Messages("critical"),
            std::vector<std::string>{"Failed to reload config! \n Can't open config.json"});
  EXPECT_TRUE(Disabled("Hunt")) << "the configuration in force changed";

  WriteConfig(kRaidConfig);
  EXPECT_EQ(StandIn::Commands::Rcon(connection, 2147483647, "qv.reload"), "");
  EXPECT_EQ(RepliesOn(connection), (std::vector<Reply>{{7, kFailed}, {2147483647, kReloaded}}));
  EXPECT_TRUE(Disabled("Raid"));
  EXPECT_EQ(Messages("critical").size(), 1u) << "a successful reload logged a failure";
}

TEST_F(ReloadCommandsTest, SyntaxErrorIsToldInRedAndLoggedWithLineAndColumn) {
  LoadWith(kHuntOff);
  StandIn::Controller& player = *AddPlayer({"Ann"}).Controller;
  WriteConfig("{\n  \"DisabledMissions\": [\"Raid\",]\n}");

  StandIn::Commands::Console("qv.reload", AsPlayer(player));
  EXPECT_EQ(ChatsTo(player), (std::vector<Chat>{{kFailed, kRed}}));
  const std::vector<std::string> critical = Messages("critical");
  ASSERT_EQ(critical.size(), 1u);
  const std::string prefix = "Failed to reload config! \n [json.exception.parse_error.101] ";
  EXPECT_EQ(critical[0].substr(0, prefix.size()), prefix) << critical[0];
  EXPECT_NE(critical[0].find("parse error at line 2, column 31"), std::string::npos) << critical[0];
  EXPECT_EQ(critical[0].find('\n', prefix.size()), std::string::npos) << "more than two lines";
  EXPECT_TRUE(Disabled("Hunt")) << "a broken file replaced the configuration in force";
  EXPECT_FALSE(Disabled("Raid"));
}

// Each failed read's reason reaches the log whole, read after read, at load and at reload, and
// the reply is the failure's: the reason is taken from what was thrown while it is alive.
TEST_F(ReloadCommandsTest, EachFailedReadIsLoggedWithItsOwnReason) {
  struct Row {
    const char* file;  // null: no file
    const char* reason;
  };
  const Row rows[] = {
      {"{",
       "[json.exception.parse_error.101] parse error at line 1, column 2: syntax error while "
       "parsing object key - unexpected end of input; expected string literal"},
      {nullptr, "Can't open config.json"},
      {R"({"DisabledMissions": [1e999]})",
       "[json.exception.out_of_range.406] number overflow parsing '1e999'"},
      {"[\n  \"Hunt\",\n  ]",
       "[json.exception.parse_error.101] parse error at line 3, column 3: "
       "syntax error while parsing value - unexpected ']'; expected '[', '{', "
       "or a literal"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.reason);
    Restart();
    if (row.file != nullptr) WriteConfig(row.file);
    LoadPlugin();
    EXPECT_EQ(Messages("critical"),
              std::vector<std::string>{"Failed to load config from " + ConfigPath() + "! \n " +
                                       row.reason +
                                       "\n No mission is disabled until \"qv.reload\" succeeds."});
  }
  Restart();
  LoadWith(kHuntOff);
  StandIn::RconConnection& connection = World().AddRconConnection();
  std::vector<std::string> logged;
  int32_t id = 0;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.reason);
    if (row.file != nullptr) {
      WriteConfig(row.file);
    } else {
      RemoveConfig();
    }
    StandIn::Commands::Rcon(connection, ++id, "qv.reload");
    EXPECT_EQ(RepliesOn(connection).back(), (Reply{id, kFailed}));
    logged.push_back(std::string("Failed to reload config! \n ") + row.reason);
    EXPECT_EQ(Messages("critical"), logged);
    EXPECT_TRUE(Disabled("Hunt")) << "the configuration in force changed";
  }
}

TEST_F(ReloadCommandsTest, ServerConsoleReloadsAndLogsButIsSentNoChat) {
  LoadWith(kHuntOff);
  AddPlayer({"Ann"});
  WriteConfig(kRaidConfig);
  EXPECT_EQ(StandIn::Commands::Console("qv.reload", nullptr), "");
  EXPECT_TRUE(Disabled("Raid"));

  RemoveConfig();
  EXPECT_EQ(StandIn::Commands::Console("qv.reload", nullptr), "");
  EXPECT_EQ(Messages("critical").size(), 1u);
  EXPECT_TRUE(Disabled("Raid"));
  EXPECT_TRUE(Recorded<StandIn::Journal::ChatMessage>().empty());
}

TEST_F(ReloadCommandsTest, ReloadTakesEffectAtTheNextMissionStart) {
  LoadWith(kRaidConfig);
  const StandIn::Roster world = World().Populate({{{"Great Hunt", 3, "GreatHunt"}}, {{"Ann"}}});
  StandIn::MissionClass& hunt = *world.Missions()[0].Class;
  StandIn::Controller& player = *world.All()[0].Controller;
  StandIn::Character& character = *world.All()[0].Character;

  World().StartMission(hunt.Class(), character.Object(), 0);
  ASSERT_EQ(Recorded<StandIn::Journal::GameStart>().size(), 1u) << "the start was not passed on";

  WriteConfig(kHuntOff);
  StandIn::Commands::Console("qv.reload", AsPlayer(player));
  EXPECT_EQ(World().StartMission(hunt.Class(), character.Object(), 0), 0u);
  EXPECT_EQ(Recorded<StandIn::Journal::GameStart>().size(), 1u) << "the start was not refused";
  EXPECT_EQ(Recorded<StandIn::Journal::Notification>().size(), 1u);
}

TEST_F(ReloadCommandsTest, CommandNameIsHandedOverWithItsTerminatorCounted) {
  LoadWith(kHuntOff);
  UnloadPlugin();
  // The journal writes a name whose count is not one past its text with that count.
  EXPECT_EQ(
      Matching(Journal(), "ICommands.*"),
      (JournalEntries{
          R"(ICommands.AddConsoleCommand("qv.reload"))", R"(ICommands.AddRconCommand("qv.reload"))",
          R"(ICommands.AddConsoleCommand("qv.status"))", R"(ICommands.AddRconCommand("qv.status"))",
          R"(ICommands.RemoveConsoleCommand("qv.reload"))",
          R"(ICommands.RemoveRconCommand("qv.reload"))",
          R"(ICommands.RemoveConsoleCommand("qv.status"))",
          R"(ICommands.RemoveRconCommand("qv.status"))"}));
}

TEST_F(ReloadCommandsTest, AfterUnloadTheHostAnswersThatTheCommandIsUnknown) {
  LoadWith(kHuntOff);
  const std::vector<std::string> loadLines = PluginLines();
  StandIn::Controller& player = *AddPlayer({"Ann"}).Controller;
  StandIn::RconConnection& connection = World().AddRconConnection();
  UnloadPlugin();

  EXPECT_EQ(StandIn::Commands::Console("qv.reload", AsPlayer(player)),
            "Unknown command: qv.reload");
  EXPECT_EQ(ChatsTo(player), (std::vector<Chat>{{"Unknown command: qv.reload", kWhite}}));
  EXPECT_EQ(StandIn::Commands::Rcon(connection, 7, "qv.reload"), "Unknown command: qv.reload");
  EXPECT_EQ(RepliesOn(connection), (std::vector<Reply>{{7, "Unknown command: qv.reload"}}));
  EXPECT_EQ(PluginLines(), loadLines);
}

}  // namespace
