#include "support/Said.h"

#include <fmt/format.h>

#include "support/Shown.h"

namespace {

// A colour as Shown.h's constants write one: "(0, 1, 0, 1)".
std::string ColourText(const LinearColor& colour) {
  return fmt::format("({}, {}, {}, {})", colour.R, colour.G, colour.B, colour.A);
}

}  // namespace

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
    chats.push_back({message.Text, ColourText(message.Colour), message.Flag});
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

bool operator==(const Notice& a, const Notice& b) {
  return std::tie(a.To, a.Text, a.Colour, a.First, a.Second, a.Texture, a.Sound) ==
         std::tie(b.To, b.Text, b.Colour, b.First, b.Second, b.Texture, b.Sound);
}

std::ostream& operator<<(std::ostream& out, const Notice& notice) {
  return out << fmt::format("notice to \"{}\" \"{}\" in {}, {} and {}{}{}", notice.To, notice.Text,
                            notice.Colour, notice.First, notice.Second,
                            notice.Texture ? ", with a texture" : "",
                            notice.Sound ? ", with a sound" : "");
}

std::vector<Notice> NoticesIn(const StandIn::Roster& world) {
  std::vector<Notice> notices;
  for (const StandIn::Journal::Notification& shown : Recorded<StandIn::Journal::Notification>()) {
    const StandIn::Player* player = world.FindController(shown.Controller);
    notices.push_back({player != nullptr ? player->Name : "", shown.Text, ColourText(shown.Colour),
                       shown.First, shown.Second, shown.Texture != nullptr,
                       shown.Sound != nullptr});
  }
  return notices;
}

Notice Refusal(const std::string& player, const std::string& text) {
  return {player, text, kRed, 2, 10};
}

bool operator==(const GameStart& a, const GameStart& b) {
  return std::tie(a.Dispatcher, a.MissionClass, a.Character, a.Fourth) ==
         std::tie(b.Dispatcher, b.MissionClass, b.Character, b.Fourth);
}

std::ostream& operator<<(std::ostream& out, const GameStart& start) {
  return out << fmt::format("start through {} of class {} by character {}, fourth {}",
                            start.Dispatcher, start.MissionClass, start.Character, start.Fourth);
}

std::vector<GameStart> GameStarts() {
  std::vector<GameStart> starts;
  for (const StandIn::Journal::GameStart& start : Recorded<StandIn::Journal::GameStart>()) {
    starts.push_back({start.Dispatcher, start.MissionClass, start.Character, start.Fourth});
  }
  return starts;
}
