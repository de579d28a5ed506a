#include "standin/LogCapture.h"

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
  lines_.push_back(std::move(line));
}

}  // namespace StandIn
