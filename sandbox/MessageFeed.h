// Shows on the terminal what players were sent (notifications and chat, in their colours) since
// it last looked, so that every command's effect on players appears right after it.
#pragma once

#include <cstddef>
#include <map>

#include "sandbox/Roster.h"
#include "sandbox/Terminal.h"

namespace Sandbox {

class MessageFeed {
 public:
  MessageFeed(const Roster& roster, const Terminal& terminal)
      : roster_(roster), terminal_(terminal) {}

  // Prints every message not printed yet.
  void ShowNew();
  // Prints everything `player` was ever sent.
  void ShowAll(const Player& player);

 private:
  struct Shown {
    std::size_t Notifications = 0;
    std::size_t Chat = 0;
  };
  void ShowFrom(const Player& player, Shown& shown);

  const Roster& roster_;
  const Terminal& terminal_;
  std::map<const StandIn::Controller*, Shown> shown_;
};

}  // namespace Sandbox
