// AskQuestVeto: a plugin of its own beside QuestVeto. Its console command
//
//   ask.disabled <mission display name>
//
// tells the player who typed it whether QuestVeto switches that mission off. It uses the host's
// headers and QuestVetoClient.h, copied into its sources; it does not link QuestVeto, so it loads
// and answers whether QuestVeto is loaded or not.
#include <exception>
#include <optional>
#include <string>

#include "QuestVetoClient.h"
#include "host/Color.h"
#include "host/FString.h"
#include "host/HostApi.h"

namespace {

const char* const kCommand = "ask.disabled";

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

// Registers the command at load and removes it at unload (1: process attach, 0: process detach).
QV_ENTRY_POINT DllMain(void* /*module*/, unsigned long reason, void* /*reserved*/) {
  if (reason == 1) HostApi::GetCommands().AddConsoleCommand(FString(kCommand), AskDisabled);
  if (reason == 0) HostApi::GetCommands().RemoveConsoleCommand(FString(kCommand));
  return 1;
}
