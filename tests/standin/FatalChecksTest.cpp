// Every fatal check of the stand-in, each met once: the misuse stops the process with a message
// naming the call and what is wrong, rather than passing unnoticed or crashing somewhere else. A
// test double that stops catching misuse weakens every test that relies on it, so each check
// here has a case that fails when the check is taken out.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>
#include <type_traits>

#include <gtest/gtest.h>

#include "host-bridge/Color.h"
#include "host-bridge/FString.h"
#include "host-bridge/GameCalls.h"
#include "host-bridge/GameTypes.h"
#include "host-bridge/HostApi.h"
#include "plugin/ForeignString.h"
#include "standin/GameHeap.h"
#include "standin/GameObjects.h"
#include "standin/GameWorld.h"
#include "standin/HeapAndFaults.h"
#include "standin/ScratchServer.h"
#include "standin/Server.h"
#include "support/GameFunctions.h"

namespace {

// A game heap block of 2 characters holding "hi", no terminator.
WideChar* HeapHi() {
  auto* chars = static_cast<WideChar*>(StandIn::GameHeap::Allocate(2 * sizeof(WideChar)));
  chars[0] = WideChar('h');
  chars[1] = WideChar('i');
  return chars;
}

void Chat(StandIn::GameWorld& world, FString* message) {
  LinearColor white{1.0f, 1.0f, 1.0f, 1.0f};
  Game<void(AShooterPlayerController*, FString*, LinearColor*, bool)>(
      "AShooterPlayerController.ClientServerChatDirectMessage")(world.AddController("Bob").Object(),
                                                                message, &white, false);
}

void Notify(StandIn::GameWorld& world, FString* message) {
  LinearColor white{1.0f, 1.0f, 1.0f, 1.0f};
  Game<void(AShooterPlayerController*, FString*, LinearColor*, float, float, void*, void*)>(
      "AShooterPlayerController.ClientServerSOTFNotificationCustom")(
      world.AddController("Bob").Object(), message, &white, 5.0f, 0.0f, nullptr, nullptr);
}

void ReplyRcon(StandIn::GameWorld& world, FString* message) {
  Game<void(RCONClientConnection*, int32_t, int32_t, FString*)>(
      "RCONClientConnection.SendMessageW")(world.AddRconConnection().Object(), 7, 0, message);
}

// A pointer to no object of the world, of the kind a game function takes.
template <typename Object>
Object* Stranger() {
  static uint64_t memory[8] = {};
  return reinterpret_cast<Object*>(memory);
}

// Inits a name with the constants after the text as given; only (0, 1, true, -1) is the game's.
std::function<void(StandIn::GameWorld&)> InitName(int32_t number, int32_t findType, bool splitName,
                                                  int32_t hardcodeIndex) {
  return [=](StandIn::GameWorld&) {
    FName name;
    Game<void(FName*, const char*, int32_t, int32_t, bool, int32_t)>("FName.Init")(
        &name, "Complete", number, findType, splitName, hardcodeIndex);
  };
}

std::function<void(StandIn::GameWorld&)> ReplicateWithFlags(bool first, bool second) {
  return [=](StandIn::GameWorld& world) {
    Game<void(AActor*, bool, bool)>("AActor.ForceReplicateNow")(
        reinterpret_cast<AActor*>(
            world.AddCharacter(nullptr, nullptr, true).MissionData()->Object()),
        first, second);
  };
}

using Sender = void (*)(StandIn::GameWorld&, FString*);

// Sends `message` (chars, count, capacity) through `send`.
std::function<void(StandIn::GameWorld&)> Send(Sender send, WideChar* (*chars)(), int32_t count,
                                              int32_t capacity) {
  return [=](StandIn::GameWorld& world) {
    const ForeignString message(chars != nullptr ? chars() : nullptr, count, capacity);
    send(world, const_cast<FString*>(&message.Get()));
  };
}

WideChar* OffHeapHi() {
  static WideChar text[] = QV_WIDE("hi");  // a buffer the game heap never handed out
  return text;
}

std::string ServerDirectory() {
  return (std::filesystem::temp_directory_path() / "qv-fatal-checks").u8string();
}

// A misuse of the running stand-in and the message (a regular expression) it stops with.
struct Misuse {
  const char* Name;
  std::function<void(StandIn::GameWorld&)> Act;
  const char* Message;
};

void PrintTo(const Misuse& misuse, std::ostream* out) {
  *out << misuse.Name;
}

using MallocFunction = void*(uint64_t, uint32_t);
using ReallocFunction = void*(void*, uint64_t);
using FreeFunction = void(void*);

const Misuse kMisuses[] = {
    // The game heap.
    {"FreeOfAForeignBlock",
     [](StandIn::GameWorld&) {
       int local = 0;
       Game<FreeFunction>("FMemory.Free")(&local);
     },
     "FMemory.Free: block 0x\\w+ was never handed out by the game heap"},
    {"ResizeOfAForeignBlock",
     [](StandIn::GameWorld&) {
       int local = 0;
       Game<ReallocFunction>("FMemory.Realloc")(&local, 8);
     },
     "FMemory.Realloc: block 0x\\w+ was never handed out by the game heap"},
    {"SecondFree",
     [](StandIn::GameWorld&) {
       void* block = Game<MallocFunction>("FMemory.Malloc")(4, 0);
       Game<FreeFunction>("FMemory.Free")(block);
       Game<FreeFunction>("FMemory.Free")(block);
     },
     "FMemory.Free: block 0x\\w+ was already freed"},
#ifndef __SANITIZE_ADDRESS__  // AddressSanitizer stops an impossible allocation itself
    {"HeapExhaustedOnAllocation",
     [](StandIn::GameWorld&) { Game<MallocFunction>("FMemory.Malloc")(UINT64_MAX, 0); },
     "FMemory.Malloc: out of memory for 18446744073709551615 bytes"},
    {"HeapExhaustedOnResize",
     [](StandIn::GameWorld&) {
       void* block = Game<MallocFunction>("FMemory.Malloc")(4, 0);
       Game<ReallocFunction>("FMemory.Realloc")(block, UINT64_MAX);
     },
     "FMemory.Realloc: out of memory for 18446744073709551615 bytes"},
#endif
    {"ResizeOfAFreedBlock",
     [](StandIn::GameWorld&) {
       void* block = Game<MallocFunction>("FMemory.Malloc")(4, 0);
       Game<FreeFunction>("FMemory.Free")(block);
       Game<ReallocFunction>("FMemory.Realloc")(block, 8);
     },
     "FMemory.Realloc: block 0x\\w+ was already freed"},

    // Keys the game does not have.
    {"UnknownFunction", [](StandIn::GameWorld&) { GetAddress("AActor.NoSuchFunction"); },
     "GetAddress: the game has no function 'AActor.NoSuchFunction'"},
    {"UnknownField",
     [](StandIn::GameWorld&) {
       int object = 0;
       GetAddress(&object, "AActor.NoSuchField");
     },
     "GetAddress: the game has no field 'AActor.NoSuchField'"},

    // Engine strings handed to the game: each message off the game heap, then each way a string
    // can be unsound, in a chat message.
    {"ChatMessageOffTheGameHeap", Send(Chat, OffHeapHi, 3, 3),
     "ClientServerChatDirectMessage: string buffer 0x\\w+ is not a live game heap block"},
    {"NotificationOffTheGameHeap", Send(Notify, OffHeapHi, 3, 3),
     "ClientServerSOTFNotificationCustom: string buffer 0x\\w+ is not a live game heap block"},
    {"RconReplyOffTheGameHeap", Send(ReplyRcon, OffHeapHi, 3, 3),
     "SendMessageW: string buffer 0x\\w+ is not a live game heap block"},
    {"CapacityBeyondItsBlock", Send(Chat, HeapHi, 8, 8),
     "ClientServerChatDirectMessage: string buffer 0x\\w+ of 4 bytes is smaller than its capacity "
     "of 8 characters"},
    {"CountAboveCapacity", Send(Chat, HeapHi, 3, 2),
     "ClientServerChatDirectMessage: string has count 3 and capacity 2"},
    {"NegativeCount", Send(Chat, HeapHi, -1, 2),
     "ClientServerChatDirectMessage: string has count -1 and capacity 2"},
    {"CountWithoutABuffer", Send(Chat, nullptr, 1, 1),
     "ClientServerChatDirectMessage: string of count 1 without a buffer"},
    {"NoTerminator", Send(Chat, HeapHi, 2, 2),
     "ClientServerChatDirectMessage: string of count 2 without its terminating 0"},
    {"NullMessage", [](StandIn::GameWorld& world) { Chat(world, nullptr); },
     "ClientServerChatDirectMessage: null string"},
    {"ChatWithoutColour",
     [](StandIn::GameWorld& world) {
       FString message("hi");
       Game<void(AShooterPlayerController*, FString*, LinearColor*, bool)>(
           "AShooterPlayerController.ClientServerChatDirectMessage")(
           world.AddController("Bob").Object(), &message, nullptr, false);
     },
     "ClientServerChatDirectMessage: null colour"},
    {"NotificationWithoutColour",
     [](StandIn::GameWorld& world) {
       FString message("hi");
       Game<void(AShooterPlayerController*, FString*, LinearColor*, float, float, void*, void*)>(
           "AShooterPlayerController.ClientServerSOTFNotificationCustom")(
           world.AddController("Bob").Object(), &message, nullptr, 5.0f, 0.0f, nullptr, nullptr);
     },
     "ClientServerSOTFNotificationCustom: null colour"},

    // Pointers that are no live object of the kind the game function takes.
    // The world holds an object of the expected kind as well, so that a lookup taking any object
    // of that kind would not stop.
    {"ControllerForACharacter",
     [](StandIn::GameWorld& world) {
       world.AddCharacter(nullptr, nullptr, true);
       Game<bool(APrimalCharacter*)>("APrimalCharacter.IsDead")(
           reinterpret_cast<APrimalCharacter*>(world.AddController("Bob").Object()));
     },
     "APrimalCharacter.IsDead: 0x\\w+ is not a live character of this world"},
    {"NullCharacter",
     [](StandIn::GameWorld& world) {
       world.AddCharacter(nullptr, nullptr, true);
       Game<bool(APrimalCharacter*)>("APrimalCharacter.IsDead")(nullptr);
     },
     "APrimalCharacter.IsDead: .* is not a live character of this world"},
    {"CharacterForAController",
     [](StandIn::GameWorld& world) {
       world.AddController("Bob");
       FString name;
       Game<FString*(AShooterPlayerController*, FString*)>(
           "AShooterPlayerController.GetPlayerCharacterName")(
           reinterpret_cast<AShooterPlayerController*>(
               world.AddCharacter(nullptr, nullptr, true).Object()),
           &name);
     },
     "GetPlayerCharacterName: 0x\\w+ is not a live player controller of this world"},
    {"DefaultObjectForAClass",
     [](StandIn::GameWorld& world) {
       Game<UObject*(UClass*, bool)>("UClass.GetDefaultObject")(
           reinterpret_cast<UClass*>(world.AddMission("Hunt", 1, "Hunt").DefaultObject()), true);
     },
     "UClass.GetDefaultObject: 0x\\w+ is not a live mission class of this world"},
    {"ClassForADefaultObject",
     [](StandIn::GameWorld& world) {
       FName tag;
       Game<FName*(AMissionType*, FName*)>("AMissionType.GetMissionTag")(
           reinterpret_cast<AMissionType*>(world.AddMission("Hunt", 1, "Hunt").Class()), &tag);
     },
     "GetMissionTag: 0x\\w+ is not a live mission default object of this world"},
    {"FieldOfAClass",
     [](StandIn::GameWorld& world) {
       GetAddress(world.AddMission("Hunt", 1, "Hunt").Class(), "AMissionType.MissionVersion");
     },
     "AMissionType.MissionVersion: 0x\\w+ is not a live mission default object of this world"},
    {"DisplayNameOfAClass",
     [](StandIn::GameWorld& world) {
       GetAddress(world.AddMission("Hunt", 1, "Hunt").Class(), "AMissionType.MissionDisplayName");
     },
     "AMissionType.MissionDisplayName: 0x\\w+ is not a live mission default object"},
    {"CharacterForABuff",
     [](StandIn::GameWorld& world) {
       StandIn::Character& character = world.AddCharacter(nullptr, nullptr, true);
       Game<void(APrimalBuff_MissionData*, FName, FName, bool)>(
           "APrimalBuff_MissionData.SetMissionData_Bool")(
           reinterpret_cast<APrimalBuff_MissionData*>(character.Object()), MakeName("Hunt"),
           MakeName("Complete"), true);
     },
     "SetMissionData_Bool: 0x\\w+ is not a live mission data buff of this world"},
    {"ReplicationOfACharacter",
     [](StandIn::GameWorld& world) {
       Game<void(AActor*, bool, bool)>("AActor.ForceReplicateNow")(
           reinterpret_cast<AActor*>(world.AddCharacter(nullptr, nullptr, true).Object()), false,
           false);
     },
     "AActor.ForceReplicateNow: 0x\\w+ is not a live mission data buff of this world"},
    {"ClosedRconConnection",
     [](StandIn::GameWorld& world) {
       world.AddRconConnection();
       StandIn::RconConnection& connection = world.AddRconConnection();
       RCONClientConnection* object = connection.Object();
       world.RemoveRconConnection(connection);
       FString reply("late");
       Game<void(RCONClientConnection*, int32_t, int32_t, FString*)>(
           "RCONClientConnection.SendMessageW")(object, 1, 0, &reply);
     },
     "SendMessageW: 0x\\w+ is not a live RCON connection of this world"},
    {"StartOnAnotherDispatcher",
     [](StandIn::GameWorld&) {
       uint64_t dispatcher = 0;
       Game<std::remove_pointer_t<StartMissionFunction>>("AMissionDispatcher.StartMission")(
           reinterpret_cast<AMissionDispatcher*>(&dispatcher), nullptr, nullptr, 0);
     },
     "AMissionDispatcher.StartMission: 0x\\w+ is not a live mission dispatcher of this world"},
    {"OwnerOfAStranger",
     [](StandIn::GameWorld& world) {
       world.AddCharacter(nullptr, nullptr, true);
       Game<AShooterPlayerController*(APrimalCharacter*)>("APawn.GetOwnerController")(
           Stranger<APrimalCharacter>());
     },
     "APawn.GetOwnerController: 0x\\w+ is not a live character of this world"},
    {"InstigatorOfAStranger",
     [](StandIn::GameWorld& world) {
       world.AddCharacter(nullptr, nullptr, true);
       Game<AShooterPlayerController*(APrimalCharacter*)>("AActor.GetInstigatorController")(
           Stranger<APrimalCharacter>());
     },
     "AActor.GetInstigatorController: 0x\\w+ is not a live character of this world"},
    {"MissionDataOfAStranger",
     [](StandIn::GameWorld& world) {
       world.AddCharacter(nullptr, nullptr, true);
       Game<APrimalBuff_MissionData*(APrimalCharacter*, bool)>(
           "AMissionType.GetMissionDataForCharacter")(Stranger<APrimalCharacter>(), true);
     },
     "GetMissionDataForCharacter: 0x\\w+ is not a live character of this world"},
    {"ChatToAStranger",
     [](StandIn::GameWorld& world) {
       world.AddController("Bob");
       FString message("hi");
       LinearColor white{1.0f, 1.0f, 1.0f, 1.0f};
       Game<void(AShooterPlayerController*, FString*, LinearColor*, bool)>(
           "AShooterPlayerController.ClientServerChatDirectMessage")(
           Stranger<AShooterPlayerController>(), &message, &white, false);
     },
     "ClientServerChatDirectMessage: 0x\\w+ is not a live player controller of this world"},
    {"NotificationToAStranger",
     [](StandIn::GameWorld& world) {
       world.AddController("Bob");
       FString message("hi");
       LinearColor white{1.0f, 1.0f, 1.0f, 1.0f};
       Game<void(AShooterPlayerController*, FString*, LinearColor*, float, float, void*, void*)>(
           "AShooterPlayerController.ClientServerSOTFNotificationCustom")(
           Stranger<AShooterPlayerController>(), &message, &white, 5.0f, 0.0f, nullptr, nullptr);
     },
     "ClientServerSOTFNotificationCustom: 0x\\w+ is not a live player controller of this world"},
    {"StartOfAStrangeClass",
     [](StandIn::GameWorld& world) {
       world.AddMission("Hunt", 1, "Hunt");
       Game<std::remove_pointer_t<StartMissionFunction>>("AMissionDispatcher.StartMission")(
           world.Dispatcher(), Stranger<UClass>(), nullptr, 0);
     },
     "AMissionDispatcher.StartMission: 0x\\w+ is not a live mission class of this world"},
    {"StartForAStranger",
     [](StandIn::GameWorld& world) {
       world.AddCharacter(nullptr, nullptr, true);
       Game<std::remove_pointer_t<StartMissionFunction>>("AMissionDispatcher.StartMission")(
           world.Dispatcher(), nullptr, Stranger<APrimalCharacter>(), 0);
     },
     "AMissionDispatcher.StartMission: 0x\\w+ is not a live character of this world"},
    {"CharacterOfAnotherWorld",
     [](StandIn::GameWorld& world) {
       world.AddController("Bob");
       StandIn::Controller stranger("Eve");
       world.AddCharacter(&stranger, nullptr, false);
     },
     "AddCharacter: 0x\\w+ is not a live controller of this world"},
    // A plan whose instigator is no player with a controller, or instigated twice over.
    {"InstigatedByNobodyOfThePlan",
     [](StandIn::GameWorld& world) {
       world.Populate({{}, {{"Bob", true, true, true, false, "Eve"}}});
     },
     "Populate: player \"Bob\" cannot be instigated by \"Eve\""},
    {"InstigatedByAPlayerWithoutController",
     [](StandIn::GameWorld& world) {
       world.Populate({{}, {{"Ann", true, false}, {"Bob", true, true, true, false, "Ann"}}});
     },
     "Populate: player \"Bob\" cannot be instigated by \"Ann\""},
    {"InstigatedByItsOwnAndAnotherController",
     [](StandIn::GameWorld& world) {
       world.Populate({{}, {{"Ann"}, {"Bob", true, true, true, true, "Ann"}}});
     },
     "Populate: player \"Bob\" cannot be instigated by \"Ann\""},
    {"RemovalOfAForeignConnection",
     [](StandIn::GameWorld& world) {
       world.AddRconConnection();
       auto* stranger = new StandIn::RconConnection;  // the process ends before it would go
       world.RemoveRconConnection(*stranger);
     },
     "RemoveRconConnection: not a connection of this world"},

    // Names the game never made.
    {"MissionDataUnderANameNeverMade",
     [](StandIn::GameWorld& world) {
       Game<void(APrimalBuff_MissionData*, FName, FName, int32_t)>(
           "APrimalBuff_MissionData.SetMissionData_Int")(
           world.AddCharacter(nullptr, nullptr, true).MissionData()->Object(), FName{},
           MakeName("Complete"), 1);
     },
     "SetMissionData_Int: 0x0 is not a name made by FName.Init"},
    {"TextOfANameNeverMade", [](StandIn::GameWorld& world) { world.NameText(FName{12345}); },
     "NameText: 0x3039 is not a name made by FName.Init"},

    // Calling forms the game's callers never use.
    {"DefaultObjectNotCreated",
     [](StandIn::GameWorld& world) {
       Game<UObject*(UClass*, bool)>("UClass.GetDefaultObject")(
           world.AddMission("Hunt", 1, "Hunt").Class(), false);
     },
     "UClass.GetDefaultObject: the create flag must be true"},
    {"MissionDataNotCreated",
     [](StandIn::GameWorld& world) {
       Game<APrimalBuff_MissionData*(APrimalCharacter*, bool)>(
           "AMissionType.GetMissionDataForCharacter")(
           world.AddCharacter(nullptr, nullptr, true).Object(), false);
     },
     "GetMissionDataForCharacter: the flag must be true"},
    {"ReplicationFirstFlagSet", ReplicateWithFlags(true, false),
     "AActor.ForceReplicateNow: the flags must be false, false; got true, false"},
    {"ReplicationSecondFlagSet", ReplicateWithFlags(false, true),
     "AActor.ForceReplicateNow: the flags must be false, false; got false, true"},
    {"NameNumberOtherThan0", InitName(1, 1, true, -1),
     "FName.Init: expects .0, 1, true, -1. after the text; got .1, 1, true, -1."},
    {"NameFindTypeOtherThan1", InitName(0, 0, true, -1), "FName.Init: expects .* got .0, 0, true"},
    {"NameNotSplit", InitName(0, 1, false, -1), "FName.Init: expects .* got .0, 1, false, -1."},
    {"NameHardcodeIndexOtherThanNone", InitName(0, 1, true, 0),
     "FName.Init: expects .* got .0, 1, true, 0."},
    {"NameWithoutStorage",
     [](StandIn::GameWorld&) {
       Game<void(FName*, const char*, int32_t, int32_t, bool, int32_t)>("FName.Init")(
           nullptr, "Complete", 0, 1, true, -1);
     },
     "FName.Init: null name"},
    {"NameWithoutText",
     [](StandIn::GameWorld&) {
       FName name;
       Game<void(FName*, const char*, int32_t, int32_t, bool, int32_t)>("FName.Init")(
           &name, nullptr, 0, 1, true, -1);
     },
     "FName.Init: null text"},
    {"CharacterNameWithoutStorage",
     [](StandIn::GameWorld& world) {
       Game<FString*(AShooterPlayerController*, FString*)>(
           "AShooterPlayerController.GetPlayerCharacterName")(world.AddController("Bob").Object(),
                                                              nullptr);
     },
     "GetPlayerCharacterName: null result storage"},
    {"CharacterNameIntoAFullString",
     [](StandIn::GameWorld& world) {
       FString name("taken");
       Game<FString*(AShooterPlayerController*, FString*)>(
           "AShooterPlayerController.GetPlayerCharacterName")(world.AddController("Bob").Object(),
                                                              &name);
     },
     "GetPlayerCharacterName: result storage is not an empty string"},
    {"TagWithoutStorage",
     [](StandIn::GameWorld& world) {
       Game<FName*(AMissionType*, FName*)>("AMissionType.GetMissionTag")(
           world.AddMission("Hunt", 1, "Hunt").DefaultObject(), nullptr);
     },
     "GetMissionTag: null result storage"},
    {"TagIntoFilledStorage",
     [](StandIn::GameWorld& world) {
       FName filled{1};
       Game<FName*(AMissionType*, FName*)>("AMissionType.GetMissionTag")(
           world.AddMission("Hunt", 1, "Hunt").DefaultObject(), &filled);
     },
     "GetMissionTag: result storage is not zeroed"},

    // The host's command table and the server's lifetime.
    {"CommandNameOffTheGameHeap",
     [](StandIn::GameWorld&) {
       const ForeignString name(OffHeapHi(), 3, 3);
       HostApi::GetCommands().RemoveConsoleCommand(name.Get());
     },
     "ICommands.RemoveConsoleCommand: string buffer 0x\\w+ is not a live game heap block"},
    {"PlaceHolderBeforeAdd", [](StandIn::GameWorld&) { HostApi::GetCommands().UnusedBeforeAdd(); },
     "ICommands.UnusedBeforeAdd: a plugin called an entry of the host's command table that only "
     "holds a place"},
    {"PlaceHolderBetweenAddAndRemove",
     [](StandIn::GameWorld&) { HostApi::GetCommands().UnusedBetweenAddAndRemove(); },
     "ICommands.UnusedBetweenAddAndRemove: a plugin called an entry"},
    {"PlaceHolderAfterRemove",
     [](StandIn::GameWorld&) { HostApi::GetCommands().UnusedAfterRemove(); },
     "ICommands.UnusedAfterRemove: a plugin called an entry"},
    {"SecondServer", [](StandIn::GameWorld&) { StandIn::Start(ServerDirectory()); },
     "a stand-in server already runs in"},
    {"WorldWithoutAServer",
     [](StandIn::GameWorld&) {
       StandIn::Stop();
       StandIn::CurrentWorld();
     },
     "no stand-in server is running"},
};

class FatalCheckTest : public testing::TestWithParam<Misuse> {
 protected:
  void SetUp() override {
    // Each case in a process of its own, started afresh, whatever threads the server runs.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // A process that dies cannot remove a fresh directory of its own: every process of a case
    // uses this one, writes no log file into it, and the surviving one removes it.
    // Recording reads what is handed over: it must not read past it.
    server_.emplace(
        StandIn::ScratchServer::Options().In(ServerDirectory()).WithoutLogFile().Record());
  }
  void TearDown() override {
    server_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(ServerDirectory(), ignored);
  }

  std::optional<StandIn::ScratchServer> server_;
};

TEST_P(FatalCheckTest, StopsTheProcessNamingTheMisuse) {
  const Misuse& misuse = GetParam();
  EXPECT_DEATH(misuse.Act(StandIn::CurrentWorld()), misuse.Message);
}

INSTANTIATE_TEST_SUITE_P(StandIn, FatalCheckTest, testing::ValuesIn(kMisuses),
                         [](const testing::TestParamInfo<Misuse>& info) {
                           return std::string(info.param.Name);
                         });

}  // namespace
