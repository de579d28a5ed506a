#include "support/Said.h"

#include <fmt/format.h>

bool operator==(const Chat& a, const Chat& b) {
  return std::tie(a.Text, a.Colour, a.Flag) == std::tie(b.Text, b.Colour, b.Flag);
}

std::ostream& operator<<(std::ostream& out, const Chat& chat) {
  return out << fmt::format("chat \"{}\" in {}{}", chat.Text, chat.Colour,
                            chat.Flag ? ", flag true" : "");
}

bool operator==(const Reply& a, const Reply& b) {
  return std::tie(a.RequestId, a.Text, a.Type) == std::tie(b.RequestId, b.Text, b.Type);
}

std::ostream& operator<<(std::ostream& out, const Reply& reply) {
  return out << fmt::format("reply to {} \"{}\" of type {}", reply.RequestId, reply.Text,
                            reply.Type);
}

std::vector<Chat> ChatsTo(StandIn::Controller& player) {
  std::vector<Chat> chats;
  for (const StandIn::Journal::ChatMessage& message : Recorded<StandIn::Journal::ChatMessage>()) {
    if (message.Controller != player.Object()) continue;
    const LinearColor& c = message.Colour;
    chats.push_back(
        {message.Text, fmt::format("({}, {}, {}, {})", c.R, c.G, c.B, c.A), message.Flag});
  }
  return chats;
}

std::vector<Reply> RepliesOn(StandIn::RconConnection& connection) {
  std::vector<Reply> replies;
  for (const StandIn::Journal::RconReply& reply : Recorded<StandIn::Journal::RconReply>()) {
    if (reply.Connection == connection.Object()) {
      replies.push_back({reply.RequestId, reply.Text, reply.Type});
    }
  }
  return replies;
}
