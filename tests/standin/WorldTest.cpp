// The simulated game as the plugin meets it: game functions reached by key, acting on the world's
// objects, recording what they are handed and refusing what is not a live object of their kind.
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "host-bridge/Color.h"
#include "host-bridge/FString.h"
#include "host-bridge/GameCalls.h"
#include "host-bridge/HostApi.h"
#include "standin/GameHeap.h"
#include "standin/GameWorld.h"
#include "support/GameFunctions.h"
#include "support/Said.h"
#include "support/ServerFixture.h"

namespace {

// An engine string built by hand with the FString layout, its buffer on the game heap.
struct RawString {
  WideChar* Chars = nullptr;
  int32_t Count = 0;
  int32_t Capacity = 0;

  RawString() = default;
  RawString(const RawString&) = delete;
  RawString& operator=(const RawString&) = delete;
  ~RawString() {
    if (Chars != nullptr) StandIn::GameHeap::Release(Chars);
  }
  FString* AsFString() { return reinterpret_cast<FString*>(this); }
};

// A detour on the mission start that counts its calls and calls on to the game.
void* gameStart = nullptr;
int detourCalls = 0;
uintptr_t CountingDetour(AMissionDispatcher* dispatcher, UClass* missionClass,
                         APrimalCharacter* character, uintptr_t fourth) {
  ++detourCalls;
  return reinterpret_cast<StartMissionFunction>(gameStart)(dispatcher, missionClass, character,
                                                           fourth);
}

using WorldTest = ServerTest;

TEST_F(WorldTest, GameStartIsJournalledWithItsArgumentsAndAnswersDistinctly) {
  StandIn::MissionClass& mission = StandIn::CurrentWorld().AddMission("Hunt", 1, "Hunt");
  StandIn::Character& character = StandIn::CurrentWorld().AddCharacter(nullptr, nullptr, false);
  const uintptr_t fourth = 0xFFFF000000000001ULL;

  const uintptr_t first = World().StartMission(mission.Class(), character.Object(), fourth);
  EXPECT_EQ(World().LastGameResult(), first);
  const uintptr_t second = World().StartMission(nullptr, nullptr, 0);
  EXPECT_EQ(World().LastGameResult(), second);

  EXPECT_TRUE(IsExactly(Journal(),
                        {"game starts mission(class \"Hunt\", character 1, 18446462598732840961)",
                         "AMissionDispatcher.StartMission(dispatcher, class \"Hunt\", character 1, "
                         "18446462598732840961)",
                         "game starts mission(null, null, 0)",
                         "AMissionDispatcher.StartMission(dispatcher, null, null, 0)"}));
  EXPECT_NE(first >> 32, 0u) << "a result cut to 32 bits must show";
  EXPECT_NE(first, second);
}

TEST_F(WorldTest, MissionStartGoesThroughTheInstalledDetour) {
  StandIn::MissionClass& mission = StandIn::CurrentWorld().AddMission("Hunt", 1, "Hunt");
  detourCalls = 0;
  ASSERT_TRUE(HostApi::GetHooks().InstallHook(
      "AMissionDispatcher.StartMission", reinterpret_cast<void*>(&CountingDetour), &gameStart));
  const uintptr_t result = World().StartMission(mission.Class(), nullptr, 5);
  EXPECT_EQ(detourCalls, 1);
  EXPECT_EQ(World().LastGameResult(), result);
  EXPECT_EQ(GameStarts(),
            (std::vector<GameStart>{{World().Dispatcher(), mission.Class(), nullptr, 5}}));
}

TEST_F(WorldTest, FieldsLieInsideTheDefaultObjectAwayFromItsStart) {
  StandIn::MissionClass& mission = StandIn::CurrentWorld().AddMission("Hunt", 3, "Hunt");
  AMissionType* object = mission.DefaultObject();
  const uint64_t name = GetAddress(object, "AMissionType.MissionDisplayName");
  const uint64_t version = GetAddress(object, "AMissionType.MissionVersion");
  const auto start = reinterpret_cast<uint64_t>(object);
  EXPECT_GT(name, start);
  EXPECT_GT(version, start);
  EXPECT_NE(name, version);
  EXPECT_EQ(*reinterpret_cast<const int32_t*>(version), 3);

  mission.SetDisplayName("Jagd");
  const auto* displayName = reinterpret_cast<const RawString*>(name);
  EXPECT_EQ(WideString(displayName->Chars), QV_WIDE("Jagd"));
  EXPECT_EQ(mission.DisplayName(), "Jagd");
  EXPECT_EQ(World().FindMission("Jagd"), &mission);
  EXPECT_EQ(World().FindMission("Hunt"), nullptr);
}

TEST_F(WorldTest, NamesInternByExactText) {
  const FName complete = MakeName("Complete");
  EXPECT_EQ(MakeName("Complete").Value, complete.Value);
  EXPECT_NE(MakeName("complete").Value, complete.Value);
  EXPECT_EQ(World().NameText(complete), "Complete");
}

TEST_F(WorldTest, MissionDataKeepsTheLatestValuePerTagAndEntry) {
  StandIn::Character& character = StandIn::CurrentWorld().AddCharacter(nullptr, nullptr, true);
  APrimalBuff_MissionData* buff = character.MissionData()->Object();
  auto setInt = Game<void(APrimalBuff_MissionData*, FName, FName, int32_t)>(
      "APrimalBuff_MissionData.SetMissionData_Int");
  setInt(buff, MakeName("Hunt"), MakeName("Version"), 1);
  setInt(buff, MakeName("Fish"), MakeName("Version"), 2);
  setInt(buff, MakeName("Hunt"), MakeName("Version"), 3);

  const StandIn::MissionDataBuff& data = *character.MissionData();
  ASSERT_EQ(data.Entries().size(), 2u) << "one entry per tag and entry, in first-written order";
  EXPECT_EQ(data.Entries()[0].Tag, "Hunt");
  EXPECT_EQ(data.Entries()[1].Tag, "Fish");
  ASSERT_NE(data.Value("Hunt", "Version"), nullptr);
  EXPECT_EQ(std::get<int32_t>(*data.Value("Hunt", "Version")), 3);
  EXPECT_EQ(std::get<int32_t>(*data.Value("Fish", "Version")), 2);
  EXPECT_EQ(data.Value("Hunt", "Complete"), nullptr);
}

TEST_F(WorldTest, CharacterNameIsAFreshGameHeapBlock) {
  StandIn::Controller& player = StandIn::CurrentWorld().AddController("Bob");
  const std::size_t liveBefore = StandIn::GameHeap::LiveBlocks();
  RawString name;  // released by its destructor, as the caller must
  FString* result = Game<FString*(AShooterPlayerController*, FString*)>(
      "AShooterPlayerController.GetPlayerCharacterName")(player.Object(), name.AsFString());
  EXPECT_EQ(result, name.AsFString());
  ASSERT_NE(name.Chars, nullptr);
  EXPECT_EQ(WideString(name.Chars), QV_WIDE("Bob"));
  EXPECT_EQ(StandIn::GameHeap::LiveBlocks(), liveBefore + 1);
}

TEST_F(WorldTest, InstigatorWithoutOwnerIsPossible) {
  StandIn::Controller& instigator = StandIn::CurrentWorld().AddController("Bob");
  StandIn::Character& character = StandIn::CurrentWorld().AddCharacter(nullptr, &instigator, false);
  using ControllerOf = AShooterPlayerController*(APrimalCharacter*);
  EXPECT_EQ(Game<ControllerOf>("APawn.GetOwnerController")(character.Object()), nullptr);
  EXPECT_EQ(Game<ControllerOf>("AActor.GetInstigatorController")(character.Object()),
            instigator.Object());
}

TEST_F(WorldTest, APlanCharacterMayBeInstigatedByAnotherPlayer) {
  // Name, alive, controller, mission data, instigated by its own controller, instigated by.
  const StandIn::Roster roster = World().Populate({{},
                                                   {{"Bob", true, true, true, false, "Ann"},
                                                    {"Stray", true, false, true, false, "Ann"},
                                                    {"Ann"}}});
  using ControllerOf = AShooterPlayerController*(APrimalCharacter*);
  const auto owner = [&](const char* name) {
    return Game<ControllerOf>("APawn.GetOwnerController")(
        roster.FindPlayer(name)->Character->Object());
  };
  const auto instigator = [&](const char* name) {
    return Game<ControllerOf>("AActor.GetInstigatorController")(
        roster.FindPlayer(name)->Character->Object());
  };
  AShooterPlayerController* bob = roster.FindPlayer("Bob")->Controller->Object();
  AShooterPlayerController* ann = roster.FindPlayer("Ann")->Controller->Object();
  EXPECT_EQ(owner("Bob"), bob);
  EXPECT_EQ(instigator("Bob"), ann);
  EXPECT_EQ(owner("Stray"), nullptr);
  EXPECT_EQ(instigator("Stray"), ann);
  EXPECT_EQ(owner("Ann"), ann);
  EXPECT_EQ(instigator("Ann"), nullptr);
  EXPECT_EQ(roster.All()[0].Name, "Bob") << "in plan order";
}

TEST_F(WorldTest, APlanBecomesTheWorldThePluginMeets) {
  struct Case {
    StandIn::PlayerPlan plan;
    bool owned, instigated, dead, buff;
  };
  const Case cases[] = {
      {{"Bob"}, true, false, false, true},
      {{"Ann", false}, true, false, true, true},
      {{"Nobody", true, false}, false, false, false, true},
      {{"Lean", true, true, false}, true, false, false, false},
      {{"Shadow", true, true, true, true}, false, true, false, true},
  };
  StandIn::WorldPlan plan{{{"Hunt", 7, "HuntTag"}, {u8"Jagd über Berge", 1, "Jagd"}}, {}};
  for (const Case& c : cases) plan.Players.push_back(c.plan);
  const StandIn::Roster roster = World().Populate(plan);

  using ControllerOf = AShooterPlayerController*(APrimalCharacter*);
  ASSERT_EQ(roster.All().size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    const StandIn::Player& player = roster.All()[i];
    SCOPED_TRACE(c.plan.Name);
    EXPECT_EQ(roster.FindPlayer(c.plan.Name), &player);
    APrimalCharacter* character = player.Character->Object();
    AShooterPlayerController* controller =
        player.Controller != nullptr ? player.Controller->Object() : nullptr;
    EXPECT_EQ(controller != nullptr, c.owned || c.instigated);
    if (controller != nullptr) {
      EXPECT_EQ(player.Controller->CharacterName(), c.plan.Name);
      EXPECT_EQ(roster.FindController(controller), &player);
    }
    EXPECT_EQ(Game<ControllerOf>("APawn.GetOwnerController")(character),
              c.owned ? controller : nullptr);
    EXPECT_EQ(Game<ControllerOf>("AActor.GetInstigatorController")(character),
              c.instigated ? controller : nullptr);
    EXPECT_EQ(Game<bool(APrimalCharacter*)>("APrimalCharacter.IsDead")(character), c.dead);
    EXPECT_EQ(player.Character->MissionData() != nullptr, c.buff);
  }
  EXPECT_EQ(roster.FindPlayer("Eve"), nullptr);

  ASSERT_EQ(roster.Missions().size(), 2u);
  for (const StandIn::MissionPlan& mission : plan.Missions) {
    const StandIn::Mission* made = roster.FindMission(mission.Name);
    ASSERT_NE(made, nullptr) << mission.Name;
    EXPECT_EQ(World().FindMission(mission.Name), made->Class);
    EXPECT_EQ(*reinterpret_cast<const int32_t*>(
                  GetAddress(made->Class->DefaultObject(), "AMissionType.MissionVersion")),
              mission.Version);
    EXPECT_EQ(made->Class->Tag(), mission.Tag);
  }
  EXPECT_EQ(roster.FindMission("Ride"), nullptr);
}

TEST_F(WorldTest, RconPacketCarriesTheRequestIdSecond) {
  StandIn::RconConnection& connection = World().AddRconConnection();
  const RCONPacket* packet = connection.Receive(7, "qv.reload");
  int32_t fields[2];
  std::memcpy(fields, packet, sizeof(fields));
  EXPECT_EQ(fields[1], 7);
}

}  // namespace
