#include <string>
#include <variant>

#include <gtest/gtest.h>

#include "host-bridge/GameCalls.h"
#include "standin/HeapAndFaults.h"
#include "standin/World.h"
#include "support/Said.h"
#include "support/ServerFixture.h"
#include "support/Shown.h"

namespace {

using GameCallsTest = ServerTest;

TEST_F(GameCallsTest, ControllerOfCharacterPrefersOwnerAndSkipsTheDead) {
  // Name, alive, controller, mission data, instigated by its own controller, instigated by.
  const StandIn::Roster world =
      World().Populate({{},
                        {{"Owner", true, true, false, false, "Instigator"},
                         {"Instigator", true, true, false, true},
                         {"Neither", true, false, false},
                         {"Dead", false, true, false, false, "Instigator"}}});
  StandIn::Controller& owner = *world.FindPlayer("Owner")->Controller;
  StandIn::Controller& instigator = *world.FindPlayer("Instigator")->Controller;
  StandIn::Character& both = *world.FindPlayer("Owner")->Character;
  StandIn::Character& instigatorOnly = *world.FindPlayer("Instigator")->Character;
  StandIn::Character& neither = *world.FindPlayer("Neither")->Character;
  StandIn::Character& dead = *world.FindPlayer("Dead")->Character;

  EXPECT_EQ(ControllerOfCharacter(nullptr), nullptr);
  EXPECT_EQ(ControllerOfCharacter(both.Object()), owner.Object());
  EXPECT_EQ(ControllerOfCharacter(instigatorOnly.Object()), instigator.Object());
  EXPECT_EQ(ControllerOfCharacter(neither.Object()), nullptr);
  EXPECT_EQ(ControllerOfCharacter(dead.Object()), nullptr);
}

TEST_F(GameCallsTest, CharacterNameIsAFreshStringTheCallerOwns) {
  StandIn::Controller& player = *AddPlayer({"Zoë"}).Controller;
  StandIn::Controller& unnamed = *AddPlayer({""}).Controller;
  const std::size_t liveBefore = StandIn::GameHeap::LiveBlocks();
  {
    FString name = GetPlayerCharacterName(player.Object());
    EXPECT_EQ(name.ToUtf8(), "Zoë");
    EXPECT_EQ(StandIn::GameHeap::LiveBlocks(), liveBefore + 1);
    EXPECT_EQ(GetPlayerCharacterName(unnamed.Object()).Count, 0);
  }
  EXPECT_EQ(StandIn::GameHeap::LiveBlocks(), liveBefore);
}

TEST_F(GameCallsTest, MissionFieldsAndTagComeFromTheDefaultObject) {
  StandIn::MissionClass& mission =
      *World().Populate({{{"Jagd auf den Bären", 42, "Hunt_Bear"}}, {}}).Missions()[0].Class;
  AMissionType* object = GetDefaultMission(mission.Class());
  ASSERT_EQ(object, mission.DefaultObject());
  EXPECT_EQ(MissionDisplayName(object).ToUtf8(), "Jagd auf den Bären");
  EXPECT_EQ(MissionVersion(object), 42);
  EXPECT_EQ(World().NameText(GetMissionTag(object)), "Hunt_Bear");
}

TEST_F(GameCallsTest, NamesRoundTripThroughTheGame) {
  const FName complete = MakeName("Complete");
  EXPECT_EQ(World().NameText(complete), "Complete");
  EXPECT_EQ(MakeName("Complete").Value, complete.Value);
  EXPECT_NE(MakeName("Version").Value, complete.Value);
}

TEST_F(GameCallsTest, MissionDataWritesArriveInOrderAndReplicate) {
  const StandIn::Roster world = World().Populate(
      {{}, {{"With buff", true, false, true}, {"Without buff", true, false, false}}});
  StandIn::Character& withBuff = *world.All()[0].Character;
  StandIn::Character& withoutBuff = *world.All()[1].Character;
  EXPECT_EQ(GetMissionDataForCharacter(withoutBuff.Object()), nullptr);
  APrimalBuff_MissionData* buff = GetMissionDataForCharacter(withBuff.Object());
  ASSERT_EQ(buff, withBuff.MissionData()->Object());

  const FName tag = MakeName("Hunt");
  SetMissionDataBool(buff, tag, MakeName("Complete"), true);
  SetMissionDataInt(buff, tag, MakeName("Version"), -7);
  SetMissionDataDouble(buff, tag, MakeName("CompleteUtcTime"), 1700000000.0 - 10.0);
  ForceReplicateNow(reinterpret_cast<AActor*>(buff));

  EXPECT_TRUE(IsExactly(
      Matching(Journal(), "A*(buff of character 1, *"),
      {R"(APrimalBuff_MissionData.SetMissionData_Bool(buff of character 1, "Hunt", "Complete", true))",
       R"(APrimalBuff_MissionData.SetMissionData_Int(buff of character 1, "Hunt", "Version", -7))",
       R"(APrimalBuff_MissionData.SetMissionData_Double(buff of character 1, "Hunt", )"
       R"("CompleteUtcTime", 1699999990))",
       "AActor.ForceReplicateNow(buff of character 1, false, false)"}));
  const StandIn::MissionDataBuff& data = *withBuff.MissionData();
  EXPECT_EQ(*data.Value("Hunt", "Complete"), (std::variant<bool, int32_t, double>(true)));
  EXPECT_EQ(*data.Value("Hunt", "Version"), (std::variant<bool, int32_t, double>(int32_t{-7})));
  EXPECT_EQ(*data.Value("Hunt", "CompleteUtcTime"),
            (std::variant<bool, int32_t, double>(1699999990.0)));
}

TEST_F(GameCallsTest, NotificationPassesEveryArgumentUnchanged) {
  const StandIn::Roster world = World().Populate({{}, {{"Bob"}}});
  FString message(QV_WIDE("Mission {disabled}"));
  ShowNotification(world.FindPlayer("Bob")->Controller->Object(), message, Red, 2.0f, 10.0f);

  EXPECT_EQ(NoticesIn(world), (std::vector<Notice>{{"Bob", "Mission {disabled}", kRed, 2, 10}}));
  EXPECT_EQ(message.ToUtf8(), "Mission {disabled}") << "the caller keeps the message";
}

TEST_F(GameCallsTest, DirectChatIsFormattedAndSentWithTheFlagOff) {
  StandIn::Controller& player = *AddPlayer({"Bob"}).Controller;
  SendDirectChat(player.Object(), "QuestVeto: {{ok}} 100%", Green);

  EXPECT_EQ(ChatsTo(player), (std::vector<Chat>{{"QuestVeto: {ok} 100%", kGreen}}));
}

TEST_F(GameCallsTest, DirectChatWithoutControllerMakesNoStringAndNoCall) {
  const uint64_t allocations = StandIn::GameHeap::TotalAllocations();
  const uint64_t releases = StandIn::GameHeap::TotalReleases();
  // A call would reach the game with a null controller, which the game refuses fatally.
  SendDirectChat(nullptr, "QuestVeto: Reloaded config", Green);
  EXPECT_EQ(StandIn::GameHeap::TotalAllocations(), allocations);
  EXPECT_EQ(StandIn::GameHeap::TotalReleases(), releases);
}

TEST_F(GameCallsTest, RconReplyGoesUnderTheRequestIdUnformatted) {
  StandIn::RconConnection& connection = World().AddRconConnection();
  RCONPacket* request = connection.Receive(7, "qv.reload");
  ReplyRcon(connection.Object(), request, "100% {{done}} caf\xE9");

  EXPECT_EQ(RepliesOn(connection), (std::vector<Reply>{{7, "100% {{done}} caf?"}}));
}

}  // namespace
