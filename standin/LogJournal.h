// The host's log sink into the journal: each line written to the host's sinks becomes the entry
// "log [<logger>][<level>] <message>", of call "log" with the three as its arguments
// (Journal::LogLine).
#pragma once

#include <mutex>

#include <spdlog/sinks/base_sink.h>

namespace StandIn {

class LogJournal final : public spdlog::sinks::base_sink<std::mutex> {
 protected:
  void sink_it_(const spdlog::details::log_msg& message) override;
  void flush_() override {}
};

}  // namespace StandIn
