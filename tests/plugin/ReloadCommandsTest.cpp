// "qv.reload" as the console and RCON clients give it: the re-read, the replies and the log.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "plugin/PluginHarness.h"
#include "standin/CommandRegistry.h"

namespace {

const char* const kHuntConfig = R"({"DisabledMissions": ["Hunt"]})";
const char* const kRaidConfig = R"({"DisabledMissions": ["Raid"]})";
const char* const kReloaded = "QuestVeto: Reloaded config";
const char* const kFailed = "QuestVeto: Failed to reload config";

APlayerController* AsPlayer(StandIn::Controller& controller) {
  return reinterpret_cast<APlayerController*>(controller.Object());
}

void ExpectChat(const StandIn::ChatMessage& message, const std::string& text, float red,
                float green) {
  EXPECT_EQ(message.Text, text);
  EXPECT_EQ(message.Color.R, red);
  EXPECT_EQ(message.Color.G, green);
  EXPECT_EQ(message.Color.B, 0.0f);
  EXPECT_EQ(message.Color.A, 1.0f);
  EXPECT_FALSE(message.Flag);
}

void ExpectReply(const StandIn::RconReply& reply, int32_t requestId, const std::string& text) {
  EXPECT_EQ(reply.RequestId, requestId);
  EXPECT_EQ(reply.Type, 0);
  EXPECT_EQ(reply.Text, text);
}

class ReloadCommandsTest : public PluginTest {
 protected:
  // Every line the plugin wrote to the host's sinks.
  std::vector<std::string> PluginLines() const {
    std::vector<std::string> lines;
    for (const std::string& line : LogLines()) {
      if (line.find("[QuestVeto]") != std::string::npos) lines.push_back(line);
    }
    return lines;
  }
};

TEST_F(ReloadCommandsTest, PlayerReloadsAValidFileAndIsToldInGreen) {
  LoadWith(kHuntConfig);
  const std::vector<std::string> loadLines = PluginLines();  // the load's confirmation
  StandIn::Controller& player = World().AddController("Ann");
  WriteConfig(kRaidConfig);

  EXPECT_EQ(StandIn::Commands::Console("qv.reload", AsPlayer(player)), "");
  ASSERT_EQ(player.Chat().size(), 1u);
  ExpectChat(player.Chat()[0], kReloaded, 0.0f, 1.0f);
  EXPECT_TRUE(Disabled("Raid"));
  EXPECT_FALSE(Disabled("Hunt"));
  EXPECT_EQ(PluginLines(), loadLines);

  // Words after the command name change nothing.
  WriteConfig(kHuntConfig);
  EXPECT_EQ(StandIn::Commands::Console("qv.reload now please", AsPlayer(player)), "");
  ASSERT_EQ(player.Chat().size(), 2u);
  ExpectChat(player.Chat()[1], kReloaded, 0.0f, 1.0f);
  EXPECT_TRUE(Disabled("Hunt"));
  EXPECT_EQ(PluginLines(), loadLines);
}

TEST_F(ReloadCommandsTest, RconReloadWithoutAFileFailsUnderTheRequestIdAndKeepsTheConfig) {
  LoadWith(kHuntConfig);
  StandIn::RconConnection& connection = World().AddRconConnection();
  RemoveConfig();

  EXPECT_EQ(StandIn::Commands::Rcon(connection, 7, "qv.reload"), "");
  ASSERT_EQ(connection.Replies().size(), 1u);
  ExpectReply(connection.Replies()[0], 7, kFailed);
  EXPECT_EQ(Messages("critical"),
            std::vector<std::string>{"Failed to reload config! \n Can't open config.json"});
  EXPECT_TRUE(Disabled("Hunt")) << "the configuration in force changed";

  WriteConfig(kRaidConfig);
  EXPECT_EQ(StandIn::Commands::Rcon(connection, 2147483647, "qv.reload"), "");
  ASSERT_EQ(connection.Replies().size(), 2u);
  ExpectReply(connection.Replies()[1], 2147483647, kReloaded);
  EXPECT_TRUE(Disabled("Raid"));
  EXPECT_EQ(Messages("critical").size(), 1u) << "a successful reload logged a failure";
}

TEST_F(ReloadCommandsTest, SyntaxErrorIsToldInRedAndLoggedWithLineAndColumn) {
  LoadWith(kHuntConfig);
  StandIn::Controller& player = World().AddController("Ann");
  WriteConfig("{\n  \"DisabledMissions\": [\"Raid\",]\n}");

  StandIn::Commands::Console("qv.reload", AsPlayer(player));
  ASSERT_EQ(player.Chat().size(), 1u);
  ExpectChat(player.Chat()[0], kFailed, 1.0f, 0.0f);
  const std::vector<std::string> critical = Messages("critical");
  ASSERT_EQ(critical.size(), 1u);
  const std::string prefix = "Failed to reload config! \n [json.exception.parse_error.101] ";
  EXPECT_EQ(critical[0].substr(0, prefix.size()), prefix) << critical[0];
  EXPECT_NE(critical[0].find("parse error at line 2, column 31"), std::string::npos) << critical[0];
  EXPECT_EQ(critical[0].find('\n', prefix.size()), std::string::npos) << "more than two lines";
  EXPECT_TRUE(Disabled("Hunt")) << "a broken file replaced the configuration in force";
  EXPECT_FALSE(Disabled("Raid"));
}

TEST_F(ReloadCommandsTest, ServerConsoleReloadsAndLogsButIsSentNoChat) {
  LoadWith(kHuntConfig);
  StandIn::Controller& bystander = World().AddController("Ann");
  WriteConfig(kRaidConfig);
  EXPECT_EQ(StandIn::Commands::Console("qv.reload", nullptr), "");
  EXPECT_TRUE(Disabled("Raid"));

  RemoveConfig();
  EXPECT_EQ(StandIn::Commands::Console("qv.reload", nullptr), "");
  EXPECT_EQ(Messages("critical").size(), 1u);
  EXPECT_TRUE(Disabled("Raid"));
  EXPECT_TRUE(bystander.Chat().empty());
}

TEST_F(ReloadCommandsTest, ReloadTakesEffectAtTheNextMissionStart) {
  LoadWith(kRaidConfig);
  StandIn::MissionClass& hunt = World().AddMission("Great Hunt", 3, "GreatHunt");
  StandIn::Controller& player = World().AddController("Ann");
  StandIn::Character& character = World().AddCharacter(&player, nullptr, true);

  World().StartMission(hunt.Class(), character.Object(), 0);
  ASSERT_EQ(World().GameStarts().size(), 1u) << "the start was not passed on";

  WriteConfig(kHuntConfig);
  StandIn::Commands::Console("qv.reload", AsPlayer(player));
  EXPECT_EQ(World().StartMission(hunt.Class(), character.Object(), 0), 0u);
  EXPECT_EQ(World().GameStarts().size(), 1u) << "the start was not refused";
  EXPECT_EQ(player.Notifications().size(), 1u);
}

TEST_F(ReloadCommandsTest, CommandNameIsHandedOverWithItsTerminatorCounted) {
  LoadWith(kHuntConfig);
  UnloadPlugin();
  std::vector<std::string> handed;
  for (const StandIn::Commands::HandedName& name : StandIn::Commands::HandedNames()) {
    handed.push_back(name.Operation + " " + name.Text + " " + std::to_string(name.Count));
  }
  EXPECT_EQ(handed, (std::vector<std::string>{
                        "AddConsoleCommand qv.reload 10", "AddRconCommand qv.reload 10",
                        "RemoveConsoleCommand qv.reload 10", "RemoveRconCommand qv.reload 10"}));
}

TEST_F(ReloadCommandsTest, AfterUnloadTheHostAnswersThatTheCommandIsUnknown) {
  LoadWith(kHuntConfig);
  const std::vector<std::string> loadLines = PluginLines();  // the load's confirmation
  StandIn::Controller& player = World().AddController("Ann");
  StandIn::RconConnection& connection = World().AddRconConnection();
  UnloadPlugin();

  EXPECT_EQ(StandIn::Commands::Console("qv.reload", AsPlayer(player)),
            "Unknown command: qv.reload");
  ASSERT_EQ(player.Chat().size(), 1u);
  EXPECT_EQ(player.Chat()[0].Text, "Unknown command: qv.reload");
  EXPECT_EQ(StandIn::Commands::Rcon(connection, 7, "qv.reload"), "Unknown command: qv.reload");
  ASSERT_EQ(connection.Replies().size(), 1u);
  ExpectReply(connection.Replies()[0], 7, "Unknown command: qv.reload");
  EXPECT_EQ(PluginLines(), loadLines);
}

}  // namespace
