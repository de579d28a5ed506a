#include "sandbox/MessageFeed.h"

#include <fmt/format.h>

namespace Sandbox {
namespace {

// The kind of message a game call sends a player, or null for a call that sends none.
const char* MessageKind(const std::string& call) {
  if (call == "AShooterPlayerController.ClientServerSOTFNotificationCustom") return "notification";
  if (call == "AShooterPlayerController.ClientServerChatDirectMessage") return "chat";
  return nullptr;
}

}  // namespace

void MessageFeed::Show(const std::vector<StandIn::Journal::Entry>& entries) {
  for (const StandIn::Journal::Entry& entry : entries) {
    if (entry.Call == "AActor.ForceReplicateNow") {
      ++replications_[std::get<const void*>(entry.Arguments[0])];
      continue;
    }
    const char* kind = MessageKind(entry.Call);
    if (kind == nullptr) continue;
    // Both calls take the controller, the text and the colour first; the game accepted them.
    const void* controller = std::get<const void*>(entry.Arguments[0]);
    const Player* player = roster_.FindController(controller);
    if (player == nullptr) continue;
    Message message{
        fmt::format("[{} to {}] {}", kind, player->Name, std::get<std::string>(entry.Arguments[1])),
        std::get<LinearColor>(entry.Arguments[2])};
    terminal_.Line(message.Line, message.Colour);
    sent_[controller].push_back(std::move(message));
  }
}

void MessageFeed::ShowAll(const Player& player) const {
  if (player.Controller == nullptr) {
    terminal_.Line(fmt::format("{} has no controller: nothing can be shown to them", player.Name));
    return;
  }
  const auto sent = sent_.find(player.Controller->Object());
  if (sent == sent_.end()) {
    terminal_.Line(fmt::format("{} was sent nothing", player.Name));
    return;
  }
  for (const Message& message : sent->second) terminal_.Line(message.Line, message.Colour);
}

int MessageFeed::Replications(const APrimalBuff_MissionData* buff) const {
  const auto found = replications_.find(buff);
  return found == replications_.end() ? 0 : found->second;
}

}  // namespace Sandbox
