#include "sandbox/MessageFeed.h"

#include <fmt/format.h>

namespace Sandbox {

void MessageFeed::ShowNew() {
  for (const Player& player : roster_.All()) {
    if (player.Controller != nullptr) ShowFrom(player, shown_[player.Controller]);
  }
}

void MessageFeed::ShowAll(const Player& player) {
  if (player.Controller == nullptr) {
    terminal_.Line(fmt::format("{} has no controller: nothing can be shown to them", player.Name));
    return;
  }
  Shown fromStart;
  ShowFrom(player, fromStart);
  if (fromStart.Notifications == 0 && fromStart.Chat == 0) {
    terminal_.Line(fmt::format("{} was sent nothing", player.Name));
  }
  shown_[player.Controller] = fromStart;
}

void MessageFeed::ShowFrom(const Player& player, Shown& shown) {
  const auto& notifications = player.Controller->Notifications();
  for (; shown.Notifications < notifications.size(); ++shown.Notifications) {
    const StandIn::Notification& notification = notifications[shown.Notifications];
    terminal_.Line(fmt::format("[notification to {}] {}", player.Name, notification.Text),
                   notification.Color);
  }
  const auto& chat = player.Controller->Chat();
  for (; shown.Chat < chat.size(); ++shown.Chat) {
    terminal_.Line(fmt::format("[chat to {}] {}", player.Name, chat[shown.Chat].Text),
                   chat[shown.Chat].Color);
  }
}

}  // namespace Sandbox
