#include "sandbox/server/MessageFeed.h"

#include <fmt/format.h>

#include "standin/JournalViews.h"

namespace Sandbox {

void MessageFeed::Show(const std::vector<StandIn::Journal::Entry>& entries) {
  for (const StandIn::Journal::Entry& entry : entries) {
    if (const auto replication = StandIn::Journal::Replication::From(entry)) {
      ++replications_[replication->Actor];
    } else if (const auto notification = StandIn::Journal::Notification::From(entry)) {
      ShowMessage("notification", notification->Controller, notification->Text,
                  notification->Colour);
    } else if (const auto chat = StandIn::Journal::ChatMessage::From(entry)) {
      ShowMessage("chat", chat->Controller, chat->Text, chat->Colour);
    }
  }
}

void MessageFeed::ShowMessage(const char* kind, const void* controller, const std::string& text,
                              LinearColor colour) {
  const Player* player = roster_.FindController(controller);
  if (player == nullptr) return;
  Message message{fmt::format("[{} to {}] {}", kind, player->Name, text), colour};
  terminal_.Line(message.Line, message.Colour);
  sent_[controller].push_back(std::move(message));
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
