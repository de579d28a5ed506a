#include "standin/LogJournal.h"

#include "standin/JournalViews.h"
#include "standin/JournalWriter.h"

namespace StandIn {

void LogJournal::sink_it_(const spdlog::details::log_msg& message) {
  if (!Journal::Wants(Journal::LogLine::kKey)) return;
  const spdlog::string_view_t level = spdlog::level::to_string_view(message.level);
  Journal::Append({fmt::format("log [{}][{}] {}", message.logger_name, level, message.payload),
                   Journal::LogLine::kKey,
                   {std::string(message.logger_name.data(), message.logger_name.size()),
                    std::string(level.data(), level.size()),
                    std::string(message.payload.data(), message.payload.size())}});
}

}  // namespace StandIn
