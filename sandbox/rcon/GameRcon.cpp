#include "sandbox/rcon/GameRcon.h"

#include <fmt/format.h>

#include "standin/Journal.h"
#include "standin/JournalViews.h"
#include "standin/Registries.h"

namespace Sandbox {

std::vector<Rcon::RconPacket> GameRcon::Execute(RconClientId client, int32_t requestId,
                                          const std::string& body) {
  StandIn::RconConnection*& connection = connections_[client];
  if (connection == nullptr) connection = &StandIn::RunningWorld().AddRconConnection();
  terminal_.Line(fmt::format("[rcon #{}] {}", client, body));

  StandIn::Commands::Rcon(*connection, requestId, body);
  const std::vector<StandIn::Journal::Entry> entries = StandIn::Journal::Take();
  std::vector<Rcon::RconPacket> packets;
  for (const StandIn::Journal::RconReply& reply :
       StandIn::Journal::All<StandIn::Journal::RconReply>(entries)) {
    if (reply.Connection != connection->Object()) continue;
    terminal_.Line(fmt::format("[rcon #{} reply {}] {}", client, reply.RequestId, reply.Text));
    packets.push_back({reply.RequestId, Rcon::kRconResponseValue, reply.Text});
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
