// What the server does with a typed console line or a received RCON request: run the command
// registered under its first word, or answer that there is none.
#include <gtest/gtest.h>

#include <cstring>

#include "host-bridge/FString.h"
#include "host-bridge/HostApi.h"
#include "standin/CommandRegistry.h"
#include "standin/GameWorld.h"
#include "support/Said.h"
#include "support/ServerFixture.h"
#include "support/Shown.h"

namespace {

int32_t RequestIdOf(const RCONPacket* request) {
  int32_t id = 0;
  std::memcpy(&id, reinterpret_cast<const char*>(request) + sizeof(int32_t), sizeof(id));
  return id;
}

APlayerController* AsPlayer(StandIn::Controller& controller) {
  return reinterpret_cast<APlayerController*>(controller.Object());
}

using CommandDispatchTest = ServerTest;

TEST_F(CommandDispatchTest, ConsoleRunsRegisteredCommandsAndAnswersUnknownOnes) {
  int runs = 0;
  HostApi::GetCommands().AddConsoleCommand(FString("test.run"),
                                           [&runs](APlayerController*, FString*, bool) { ++runs; });
  StandIn::Controller& player = StandIn::CurrentWorld().AddController("Ann");

  EXPECT_EQ(StandIn::Commands::Console("Test.Run now", AsPlayer(player)), "");
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(Recorded<StandIn::Journal::ChatMessage>().empty())
      << "the host said something about a command that ran";

  EXPECT_EQ(StandIn::Commands::Console("  Test.Walk fast", AsPlayer(player)),
            "Unknown command: Test.Walk");

  EXPECT_EQ(StandIn::Commands::Console("test.walk", nullptr), "Unknown command: test.walk")
      << "the server console gets the answer too";
  EXPECT_EQ(StandIn::Commands::Console("   ", AsPlayer(player)), "");
  EXPECT_EQ(Recorded<StandIn::Journal::ChatMessage>().size(), 1u) << "one answer in all";
  EXPECT_EQ(ChatsTo(player), (std::vector<Chat>{{"Unknown command: Test.Walk", kWhite}}))
      << "only the player who typed is answered, and once";
  EXPECT_EQ(runs, 1);
}

TEST_F(CommandDispatchTest, RconReceivesTheRequestAndAnswersUnknownOnesUnderItsId) {
  std::vector<int32_t> seenIds;
  HostApi::GetCommands().AddRconCommand(
      FString("test.run"), [&seenIds](RCONClientConnection*, RCONPacket* request, UWorld*) {
        seenIds.push_back(RequestIdOf(request));
      });
  StandIn::RconConnection& connection = World().AddRconConnection();

  EXPECT_EQ(StandIn::Commands::Rcon(connection, 41, "test.run"), "");
  EXPECT_EQ(seenIds, std::vector<int32_t>{41});
  EXPECT_TRUE(RepliesOn(connection).empty());

  EXPECT_EQ(StandIn::Commands::Rcon(connection, 2000000011, "Test.Walk 3"),
            "Unknown command: Test.Walk");
  EXPECT_EQ(RepliesOn(connection),
            (std::vector<Reply>{{2000000011, "Unknown command: Test.Walk"}}));
  EXPECT_EQ(seenIds.size(), 1u);
}

TEST_F(CommandDispatchTest, NamesHandedToTheRegistryAreRecordedAsGiven) {
  HostApi::ICommands& commands = HostApi::GetCommands();
  commands.AddRconCommand(FString("Test.Run"), [](RCONClientConnection*, RCONPacket*, UWorld*) {});
  FString counted("test.run");
  counted.Count = 8;  // a name whose count leaves out the terminator is recorded with that count
  commands.RemoveRconCommand(counted);
  counted.Count = 9;

  EXPECT_EQ(Matching(Journal(), "ICommands.*"),
            (JournalEntries{R"(ICommands.AddRconCommand("Test.Run"))",
                            R"(ICommands.RemoveRconCommand("test.run" (count 8)))"}));
}

}  // namespace
