#include "standin/LogJournal.h"

#include "standin/Journal.h"

namespace StandIn {

void LogJournal::sink_it_(const spdlog::details::log_msg& message) {
  if (!Journal::Wants("log")) return;
  const spdlog::string_view_t level = spdlog::level::to_string_view(message.level);
  Journal::Append({fmt::format("log [{}][{}] {}", message.logger_name, level, message.payload),
                   "log",
                   {std::string(level.data(), level.size())}});
}

}  // namespace StandIn
