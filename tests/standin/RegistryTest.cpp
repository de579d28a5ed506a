// The host's hook and command registries as a plugin and the game use them.
#include <gtest/gtest.h>

#include "host-bridge/FString.h"
#include "host-bridge/HostApi.h"
#include "standin/CommandRegistry.h"
#include "standin/GameWorld.h"
#include "standin/HookRegistry.h"
#include "support/Said.h"
#include "support/ServerFixture.h"

namespace {

const char* const kKey = "AMissionDispatcher.StartMission";

StartMissionFunction firstOriginal = nullptr;
StartMissionFunction secondOriginal = nullptr;

uintptr_t FirstDetour(AMissionDispatcher* d, UClass* c, APrimalCharacter* p, uintptr_t fourth) {
  return firstOriginal(d, c, p, fourth) + 1000;
}
uintptr_t SecondDetour(AMissionDispatcher* d, UClass* c, APrimalCharacter* p, uintptr_t fourth) {
  return secondOriginal(d, c, p, fourth) + 2000000;
}

using RegistryTest = ServerTest;

TEST_F(RegistryTest, DetoursChainAndComeOffInAnyOrder) {
  HostApi::IHooks& hooks = HostApi::GetHooks();
  void* game = GetAddress(kKey);
  ASSERT_EQ(StandIn::Hooks::Entry(kKey), game);

  ASSERT_TRUE(hooks.InstallHook(kKey, reinterpret_cast<void*>(&FirstDetour),
                                reinterpret_cast<void**>(&firstOriginal)));
  ASSERT_TRUE(hooks.InstallHook(kKey, reinterpret_cast<void*>(&SecondDetour),
                                reinterpret_cast<void**>(&secondOriginal)));
  EXPECT_EQ(reinterpret_cast<void*>(firstOriginal), game);
  EXPECT_EQ(reinterpret_cast<void*>(secondOriginal), reinterpret_cast<void*>(&FirstDetour));
  EXPECT_EQ(GetAddress(kKey), game) << "GetAddress keeps answering the game's own entry";

  // Taking the first off leaves the second calling the game directly.
  EXPECT_TRUE(hooks.RemoveHook(kKey, reinterpret_cast<void*>(&FirstDetour)));
  EXPECT_EQ(reinterpret_cast<void*>(secondOriginal), game);
  EXPECT_FALSE(hooks.RemoveHook(kKey, reinterpret_cast<void*>(&FirstDetour)));
  EXPECT_TRUE(hooks.RemoveHook(kKey, reinterpret_cast<void*>(&SecondDetour)));
  EXPECT_EQ(StandIn::Hooks::Entry(kKey), game);
}

TEST_F(RegistryTest, GameStartsReachTheInstalledDetour) {
  StandIn::MissionClass& mission = StandIn::CurrentWorld().AddMission("Hunt", 1, "Hunt");
  World().StartMission(mission.Class(), nullptr, 5);
  ASSERT_TRUE(HostApi::GetHooks().InstallHook(kKey, reinterpret_cast<void*>(&FirstDetour),
                                              reinterpret_cast<void**>(&firstOriginal)));
  const uintptr_t hooked = World().StartMission(mission.Class(), nullptr, 5);
  ASSERT_EQ(Recorded<StandIn::Journal::GameStart>().size(), 2u)
      << "the detour called on to the game";
  EXPECT_EQ(hooked, World().LastGameResult() + 1000);
  EXPECT_TRUE(HostApi::GetHooks().RemoveHook(kKey, reinterpret_cast<void*>(&FirstDetour)));
}

TEST_F(RegistryTest, UnknownFunctionsCannotBeHooked) {
  void* original = nullptr;
  EXPECT_FALSE(HostApi::GetHooks().InstallHook("AActor.NoSuchFunction",
                                               reinterpret_cast<void*>(&FirstDetour), &original));
  EXPECT_EQ(original, nullptr);
}

TEST_F(RegistryTest, CommandsAreKeptAsCopiesAndDispatchedByFirstWord) {
  HostApi::ICommands& commands = HostApi::GetCommands();
  std::vector<std::string> seen;
  {
    const FString name("Test.Echo");
    const HostApi::ConsoleCommand handler = [&seen](APlayerController* player, FString* line,
                                                    bool) {
      seen.push_back((player ? "player: " : "console: ") + line->ToUtf8());
    };
    commands.AddConsoleCommand(name, handler);
  }  // the registry must not depend on the name or handler given to it

  EXPECT_TRUE(StandIn::Commands::RunConsole("test.echo  one two", nullptr));
  EXPECT_FALSE(StandIn::Commands::RunConsole("test.echoes", nullptr));
  EXPECT_FALSE(StandIn::Commands::RunConsole("   ", nullptr));
  EXPECT_EQ(seen, std::vector<std::string>{"console: test.echo  one two"});
  EXPECT_EQ(StandIn::Commands::Names(), std::vector<std::string>{"test.echo"});

  EXPECT_TRUE(commands.RemoveConsoleCommand(FString("TEST.ECHO")));
  EXPECT_FALSE(commands.RemoveConsoleCommand(FString("test.echo")));
  EXPECT_FALSE(StandIn::Commands::RunConsole("test.echo", nullptr));
}

}  // namespace
