#include "sandbox/GameRcon.h"

#include <fmt/format.h>

#include "standin/CommandRegistry.h"

namespace Sandbox {

std::vector<RconPacket> GameRcon::Execute(RconClientId client, int32_t requestId,
                                          const std::string& body) {
  StandIn::RconConnection*& connection = connections_[client];
  if (connection == nullptr) connection = &StandIn::CurrentWorld().AddRconConnection();
  terminal_.Line(fmt::format("[rcon #{}] {}", client, body));

  const std::size_t repliesBefore = connection->Replies().size();
  StandIn::Commands::Rcon(*connection, requestId, body);
  std::vector<RconPacket> packets;
  const auto& replies = connection->Replies();
  for (std::size_t i = repliesBefore; i < replies.size(); ++i) {
    terminal_.Line(
        fmt::format("[rcon #{} reply {}] {}", client, replies[i].RequestId, replies[i].Text));
    packets.push_back({replies[i].RequestId, kRconResponseValue, replies[i].Text});
  }
  if (feed_ != nullptr) feed_->ShowNew();
  return packets;
}

void GameRcon::Disconnected(RconClientId client) {
  const auto found = connections_.find(client);
  if (found == connections_.end()) return;
  StandIn::CurrentWorld().RemoveRconConnection(*found->second);
  connections_.erase(found);
}

void GameRcon::Note(const std::string& text) {
  terminal_.Line(fmt::format("[rcon] {}", text));
}

}  // namespace Sandbox
