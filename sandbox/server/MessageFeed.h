// Shows on the terminal what players were sent (notifications and chat, in their colours), read
// from the journal entries each command made, so that every command's effect on players appears
// right after it and comes from the entries tests assert on. It keeps what each player was sent
// for "messages" and each mission data buff's replications for "data".
#pragma once

#include <map>
#include <string>
#include <vector>

#include "host-bridge/Color.h"
#include "host-bridge/GameTypes.h"
#include "sandbox/server/Roster.h"
#include "sandbox/server/Terminal.h"
#include "standin/Journal.h"

namespace Sandbox {

class MessageFeed {
 public:
  MessageFeed(const Roster& roster, const Terminal& terminal)
      : roster_(roster), terminal_(terminal) {}

  // Prints the messages to players among `entries`, in order, and keeps them.
  void Show(const std::vector<StandIn::Journal::Entry>& entries);
  // Prints everything `player` was ever sent.
  void ShowAll(const Player& player) const;
  // Replications of `buff` so far.
  int Replications(const APrimalBuff_MissionData* buff) const;

 private:
  struct Message {
    std::string Line;
    LinearColor Colour;
  };

  // Prints and keeps the message of `kind` ("chat") the game sent the player of `controller`.
  void ShowMessage(const char* kind, const void* controller, const std::string& text,
                   LinearColor colour);

  const Roster& roster_;
  const Terminal& terminal_;
  std::map<const void*, std::vector<Message>> sent_;  // by controller object
  std::map<const void*, int> replications_;           // by buff object
};

}  // namespace Sandbox
