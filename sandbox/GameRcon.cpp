#include "sandbox/GameRcon.h"

#include <fmt/format.h>

#include "standin/Journal.h"

namespace Sandbox {

std::vector<RconPacket> GameRcon::Execute(RconClientId client, int32_t requestId,
                                          const std::string& body) {
  StandIn::RconConnection*& connection = connections_[client];
  if (connection == nullptr) connection = &StandIn::RunningWorld().AddRconConnection();
  terminal_.Line(fmt::format("[rcon #{}] {}", client, body));

  StandIn::Commands::Rcon(*connection, requestId, body);
  const std::vector<StandIn::Journal::Entry> entries = StandIn::Journal::Take();
  std::vector<RconPacket> packets;
  for (const StandIn::Journal::Entry& entry : entries) {
    // The game's "SendMessageW" takes the connection, the request id, a type and the text.
    if (entry.Call != "RCONClientConnection.SendMessageW" ||
        std::get<const void*>(entry.Arguments[0]) != connection->Object()) {
      continue;
    }
    const auto replyId = static_cast<int32_t>(std::get<int64_t>(entry.Arguments[1]));
    const std::string& text = std::get<std::string>(entry.Arguments[3]);
    terminal_.Line(fmt::format("[rcon #{} reply {}] {}", client, replyId, text));
    packets.push_back({replyId, kRconResponseValue, text});
  }
  if (feed_ != nullptr) feed_->Show(entries);
  return packets;
}

void GameRcon::Disconnected(RconClientId client) {
  const auto found = connections_.find(client);
  if (found == connections_.end()) return;
  StandIn::RunningWorld().RemoveRconConnection(*found->second);
  connections_.erase(found);
}

void GameRcon::Note(const std::string& text) {
  terminal_.Line(fmt::format("[rcon] {}", text));
}

}  // namespace Sandbox
