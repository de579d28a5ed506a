// AskQuestVeto: a plugin of its own beside QuestVeto. Its console command
//
//   ask.disabled <mission display name>
//
// tells the player who typed it whether QuestVeto switches that mission off. Its own hook on the
// game's mission start notes each start that reaches it, and asks QuestVeto about the mission
// object; "ask.last" tells the player the last one. It uses the host's headers and
// QuestVetoClient.h; it does not link QuestVeto, so it loads and answers whether QuestVeto is
// loaded or not.
#include <exception>
#include <optional>
#include <string>

#include "QuestVetoClient.h"
#include "host-bridge/Color.h"
#include "host-bridge/FString.h"
#include "host-bridge/HostApi.h"

namespace {

const char* const kCommand = "ask.disabled";
const char* const kLastCommand = "ask.last";
const char* const kStartMission = "AMissionDispatcher.StartMission";

// The game's start, or the hook placed on it before this one, which this plugin's hook calls on.
StartMissionFunction CallOnStart = nullptr;
// What ask.last tells.
std::string LastStart = "No mission start has reached AskQuestVeto";

// Sends `text` to the player in chat, as the game does; the server console (no player) gets
// nothing.
void Tell(APlayerController* player, const std::string& text) {
  if (player == nullptr) return;
  using ChatMessage = void (*)(APlayerController*, FString*, LinearColor*, bool);
  FString message = FString::FromUtf8(text);
  LinearColor white{1.0f, 1.0f, 1.0f, 1.0f};
  reinterpret_cast<ChatMessage>(GetAddress(
      "AShooterPlayerController.ClientServerChatDirectMessage"))(player, &message, &white, false);
}

std::string Answer(const std::string& mission) {
  // Asked at the moment of need: QuestVeto's answers change with every successful qv.reload.
  const std::optional<bool> disabled =
      QuestVetoClient::IsMissionDisabled(FString::FromUtf8(mission));
  if (!disabled) return "QuestVeto is not loaded";
  return "\"" + mission + "\" is " + (*disabled ? "switched off" : "not switched off") +
         " by QuestVeto";
}

// A mission class's default object: the mission object QuestVeto's second overload takes.
AMissionType* MissionObject(UClass* missionClass) {
  using GetDefaultObject = AMissionType* (*)(UClass*, bool);
  return reinterpret_cast<GetDefaultObject>(GetAddress("UClass.GetDefaultObject"))(missionClass,
                                                                                   true);
}

std::string DisplayName(AMissionType* mission) {
  return reinterpret_cast<const FString*>(GetAddress(mission, "AMissionType.MissionDisplayName"))
      ->ToUtf8();
}

// Every start that reaches this hook is noted, then handed on unchanged. Which starts reach it
// depends on the order the hooks were placed in: see docs/plugin-authors.md.
uintptr_t SeeStart(AMissionDispatcher* dispatcher, UClass* missionClass,
                   APrimalCharacter* character, uintptr_t fourth) {
  try {
    if (missionClass != nullptr) {
      AMissionType* mission = MissionObject(missionClass);
      const std::optional<bool> disabled = QuestVetoClient::IsMissionDisabled(mission);
      LastStart = "Last start seen: \"" + DisplayName(mission) + "\", " +
                  (!disabled   ? "QuestVeto not loaded"
                   : *disabled ? "switched off by QuestVeto"
                               : "not switched off");
    }
  } catch (const std::exception&) {
    // Nothing may escape into the game; the start goes on all the same.
  }
  return CallOnStart(dispatcher, missionClass, character, fourth);
}

void TellLast(APlayerController* player, FString* /*line*/, bool /*unused*/) {
  try {
    Tell(player, LastStart);
  } catch (const std::exception&) {
    // Nothing may escape into the host's command dispatch.
  }
}

// The host hands over the whole command line: the mission is what follows the command's name.
void AskDisabled(APlayerController* player, FString* line, bool /*unused*/) {
  try {
    const std::string text = line->ToUtf8();
    const std::size_t nameEnd = text.find(' ');
    const std::size_t mission =
        nameEnd == std::string::npos ? std::string::npos : text.find_first_not_of(' ', nameEnd);
    Tell(player, mission == std::string::npos ? std::string("Usage: ") + kCommand + " <mission>"
                                              : Answer(text.substr(mission)));
  } catch (const std::exception& error) {
    // Nothing may escape into the host's command dispatch.
    Tell(player, std::string(kCommand) + " failed: " + error.what());
  }
}

}  // namespace

// Places the hook and registers the commands at load, takes them away at unload (1: process
// attach, 0: process detach).
QV_ENTRY_POINT DllMain(void* /*module*/, unsigned long reason, void* /*reserved*/) {
  if (reason == 1) {
    HostApi::GetHooks().InstallHook(kStartMission, reinterpret_cast<void*>(&SeeStart),
                                    reinterpret_cast<void**>(&CallOnStart));
    HostApi::GetCommands().AddConsoleCommand(FString(kCommand), AskDisabled);
    HostApi::GetCommands().AddConsoleCommand(FString(kLastCommand), TellLast);
  }
  if (reason == 0) {
    HostApi::GetHooks().RemoveHook(kStartMission, reinterpret_cast<void*>(&SeeStart));
    HostApi::GetCommands().RemoveConsoleCommand(FString(kCommand));
    HostApi::GetCommands().RemoveConsoleCommand(FString(kLastCommand));
  }
  return 1;
}
