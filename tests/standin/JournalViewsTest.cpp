// The journal's typed views over what the plugin made the game do: each view picks the entries of
// its own call and no other, with every argument in its type, and its keys are what the journal
// records for a reader of that view alone. An entry of a view's key in another shape is the
// stand-in's own fault and stops the process.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include <gtest/gtest.h>
#include <spdlog/details/log_msg.h>
#include <spdlog/sinks/sink.h>

#include "host-bridge/HostApi.h"
#include "standin/CommandRegistry.h"
#include "standin/GameWorld.h"
#include "standin/JournalViews.h"
#include "support/ServerFixture.h"

namespace {

namespace Journal = StandIn::Journal;

std::array<float, 4> Rgba(LinearColor colour) {
  return {colour.R, colour.G, colour.B, colour.A};
}

// What the views make of `entry`: the names of those that pick it.
std::vector<std::string> ViewsPicking(const Journal::Entry& entry) {
  std::vector<std::string> views;
  if (Journal::Notification::From(entry)) views.emplace_back("notification");
  if (Journal::ChatMessage::From(entry)) views.emplace_back("chat");
  if (Journal::RconReply::From(entry)) views.emplace_back("rcon reply");
  if (Journal::MissionDataWrite::From(entry)) views.emplace_back("mission data write");
  if (Journal::Replication::From(entry)) views.emplace_back("replication");
  if (Journal::GameStart::From(entry)) views.emplace_back("game start");
  if (Journal::LogLine::From(entry)) views.emplace_back("log line");
  return views;
}

// The view an entry's line says it belongs to, by how the line begins; none for other lines.
std::vector<std::string> ViewOfLine(const std::string& line) {
  const std::pair<std::string, const char*> beginnings[] = {
      {std::string(Journal::Notification::kKey) + "(", "notification"},
      {std::string(Journal::ChatMessage::kKey) + "(", "chat"},
      {std::string(Journal::RconReply::kKey) + "(", "rcon reply"},
      {"APrimalBuff_MissionData.SetMissionData_", "mission data write"},
      {std::string(Journal::Replication::kKey) + "(", "replication"},
      {std::string(Journal::GameStart::kKey) + "(", "game start"},
      {"log [", "log line"}};
  for (const auto& [beginning, view] : beginnings) {
    if (line.rfind(beginning, 0) == 0) return {view};
  }
  return {};
}

class JournalViewsTest : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    bob_ = &StandIn::CurrentWorld().AddController("Bob");
    character_ = &StandIn::CurrentWorld().AddCharacter(bob_, nullptr, true);
    hunt_ = &StandIn::CurrentWorld().AddMission("Hunt", 3, "HuntTag");
    WriteConfig(R"({"DisabledMissions": ["Hunt"], "DisabledMessage": "Off"})");
    LoadPlugin();
  }

  // A refused start: a notification, three mission data writes and a replication.
  void StartHunt() { World().StartMission(hunt_->Class(), character_->Object(), 0); }

  StandIn::Controller* bob_ = nullptr;
  StandIn::Character* character_ = nullptr;
  StandIn::MissionClass* hunt_ = nullptr;
};

TEST_F(JournalViewsTest, EachViewPicksItsOwnCallsWithTheirArguments) {
  StandIn::MissionClass& race = StandIn::CurrentWorld().AddMission("Race", 4, "RaceTag");
  StandIn::RconConnection& rcon = World().AddRconConnection();
  const uintptr_t fourth = 0xFFFF000000000001ULL;  // a value beyond int64_t's range
  Journal::Take();
  StartHunt();
  World().StartMission(race.Class(), character_->Object(), fourth);
  StandIn::Commands::RunConsole("qv.reload", reinterpret_cast<APlayerController*>(bob_->Object()));
  StandIn::Commands::Rcon(rcon, 7, "qv.reload");
  const spdlog::details::log_msg line(spdlog::source_loc{}, "Host", spdlog::level::warn, "a line");
  for (const auto& sink : GetLogSinks()) sink->log(line);
  const std::vector<Journal::Entry> entries = Journal::Take();

  for (const Journal::Entry& entry : entries) {
    EXPECT_EQ(ViewsPicking(entry), ViewOfLine(entry.Text)) << entry.Text;
  }

  const auto notifications = Journal::All<Journal::Notification>(entries);
  ASSERT_EQ(notifications.size(), 1u);
  EXPECT_EQ(notifications[0].Controller, bob_->Object());
  EXPECT_EQ(notifications[0].Text, "Off");
  EXPECT_EQ(Rgba(notifications[0].Colour), (std::array<float, 4>{1, 0, 0, 1}));
  EXPECT_EQ(notifications[0].First, 2.0f);
  EXPECT_EQ(notifications[0].Second, 10.0f);
  EXPECT_EQ(notifications[0].Texture, nullptr);
  EXPECT_EQ(notifications[0].Sound, nullptr);

  const auto writes = Journal::All<Journal::MissionDataWrite>(entries);
  ASSERT_EQ(writes.size(), 3u);
  const char* const names[] = {"Complete", "Version", "CompleteUtcTime"};
  for (std::size_t i = 0; i < writes.size(); ++i) {
    EXPECT_EQ(writes[i].Buff, character_->MissionData()->Object());
    EXPECT_EQ(writes[i].Tag, "HuntTag");
    EXPECT_EQ(writes[i].Name, names[i]);
  }
  EXPECT_EQ(writes[0].Value, (std::variant<bool, int32_t, double>(true)));
  EXPECT_EQ(writes[1].Value, (std::variant<bool, int32_t, double>(3)));
  EXPECT_TRUE(std::holds_alternative<double>(writes[2].Value));

  const auto replications = Journal::All<Journal::Replication>(entries);
  ASSERT_EQ(replications.size(), 1u);
  EXPECT_EQ(replications[0].Actor, character_->MissionData()->Object());
  EXPECT_FALSE(replications[0].First || replications[0].Second);

  const auto starts = Journal::All<Journal::GameStart>(entries);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].Dispatcher, World().Dispatcher());
  EXPECT_EQ(starts[0].MissionClass, race.Class());
  EXPECT_EQ(starts[0].Character, character_->Object());
  EXPECT_EQ(starts[0].Fourth, fourth);

  const auto chats = Journal::All<Journal::ChatMessage>(entries);
  ASSERT_EQ(chats.size(), 1u);
  EXPECT_EQ(chats[0].Controller, bob_->Object());
  EXPECT_EQ(chats[0].Text, "QuestVeto: Reloaded config");
  EXPECT_EQ(Rgba(chats[0].Colour), (std::array<float, 4>{0, 1, 0, 1}));
  EXPECT_FALSE(chats[0].Flag);

  const auto replies = Journal::All<Journal::RconReply>(entries);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].Connection, rcon.Object());
  EXPECT_EQ(replies[0].RequestId, 7);
  EXPECT_EQ(replies[0].Type, 0);
  EXPECT_EQ(replies[0].Text, "QuestVeto: Reloaded config");

  const auto lines = Journal::All<Journal::LogLine>(entries);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back().Logger, "Host");
  EXPECT_EQ(lines.back().Level, "warning");
  EXPECT_EQ(lines.back().Message, "a line");
}

TEST_F(JournalViewsTest, KeysOfViewsRecordTheirCallsAlone) {
  Journal::Start(Journal::KeysOf<Journal::MissionDataWrite, Journal::Replication>());
  StartHunt();
  EXPECT_TRUE(IsExactly(Journal::Entries(), {"APrimalBuff_MissionData.SetMissionData_Bool(*",
                                             "APrimalBuff_MissionData.SetMissionData_Int(*",
                                             "APrimalBuff_MissionData.SetMissionData_Double(*",
                                             "AActor.ForceReplicateNow(*"}));
}

TEST(JournalViewsDeathTest, AnEntryOfAViewsKeyInAnotherShapeIsFatal) {
  const Journal::Entry tooFew{"short", Journal::ChatMessage::kKey, {std::string("hi")}};
  EXPECT_DEATH(
      Journal::ChatMessage::From(tooFew),
      "stand-in: journal entry read as a chat message: 1 arguments, not 4; the entry: short");
  const Journal::Entry realVersion{
      "real",
      Journal::MissionDataWrite::kIntKey,
      {static_cast<const void*>(nullptr), std::string("HuntTag"), std::string("Version"), 3.0}};
  EXPECT_DEATH(Journal::MissionDataWrite::From(realVersion),
               "read as a mission data write: argument 4 is not an integer; the entry: real");
  const Journal::Entry tooMany{
      "long",
      Journal::Replication::kKey,
      {static_cast<const void*>(nullptr), int64_t{0}, int64_t{0}, int64_t{0}}};
  EXPECT_DEATH(Journal::Replication::From(tooMany),
               "read as a replication: 4 arguments, not 3; the entry: long");
}

// Two flags of one call that differ are read each in its place.
TEST(JournalViewsFlagsTest, FlagsAreReadInTheirOrder) {
  const int actor = 0;
  const void* const buff = &actor;
  for (const auto& [first, second] : {std::pair{true, false}, std::pair{false, true}}) {
    const Journal::Entry entry{
        "replication", Journal::Replication::kKey, {buff, int64_t{first}, int64_t{second}}};
    const std::optional<Journal::Replication> replication = Journal::Replication::From(entry);
    ASSERT_TRUE(replication.has_value());
    EXPECT_EQ(replication->Actor, buff);
    EXPECT_EQ(replication->First, first);
    EXPECT_EQ(replication->Second, second);
  }
  const Journal::Entry chat{"chat",
                            Journal::ChatMessage::kKey,
                            {buff, std::string("hi"), LinearColor{1, 0, 0, 1}, int64_t{2}}};
  EXPECT_TRUE(Journal::ChatMessage::From(chat)->Flag) << "a flag is any value but 0";
}

}  // namespace
