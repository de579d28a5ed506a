#include "standin/LogCapture.h"

#include "standin/Journal.h"

namespace StandIn {

std::vector<std::string> LogCapture::Lines() {
  std::lock_guard<std::mutex> guard(mutex_);
  return lines_;
}

void LogCapture::sink_it_(const spdlog::details::log_msg& message) {
  spdlog::memory_buf_t formatted;
  formatter_->format(message, formatted);
  std::string line(formatted.data(), formatted.size());
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  Journal::Record([&] {
    const spdlog::string_view_t level = spdlog::level::to_string_view(message.level);
    return fmt::format("log [{}][{}] {}", message.logger_name, level, message.payload);
  });
  lines_.push_back(std::move(line));
}

}  // namespace StandIn
