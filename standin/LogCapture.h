// A log sink that keeps every formatted line in memory, for tests and the sandbox to read.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include <spdlog/sinks/base_sink.h>

#include "standin/Api.h"

namespace StandIn {

class STANDIN_API LogCapture final : public spdlog::sinks::base_sink<std::mutex> {
 public:
  // The lines written so far, formatted by the sink's formatter, without the final line break.
  std::vector<std::string> Lines();

 protected:
  void sink_it_(const spdlog::details::log_msg& message) override;
  void flush_() override {}

 private:
  std::vector<std::string> lines_;
};

}  // namespace StandIn
