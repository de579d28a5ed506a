#include "plugin/Log.h"

#include <string>

#include <spdlog/sinks/sink.h>

#include "host-bridge/HostApi.h"

#if defined(_MSC_VER)
#include <cstddef>
#include <type_traits>

// The host's sinks are objects of the host's spdlog: the plugin calls their virtual log, flush and
// set_pattern, reads their level inline (should_log), and hands them its log record. These are the
// layouts of the spdlog the plugin is built against (x64), which the host's must share: an spdlog
// that changes one breaks this build rather than the server.
// (The order of the sink's virtual operations is held by HostTablesTest.)
namespace log_abi {
using spdlog::details::log_msg;
static_assert(sizeof(spdlog::string_view_t) == 16, "string view: pointer and length");
static_assert(sizeof(spdlog::source_loc) == 24, "source_loc: file, line, function");
static_assert(std::is_same_v<std::underlying_type_t<spdlog::level::level_enum>, int> &&
                  spdlog::level::trace == 0 && spdlog::level::critical == 5 &&
                  spdlog::level::off == 6,
              "levels: int, trace 0 to off 6");
static_assert(std::is_standard_layout_v<log_msg> && sizeof(log_msg) == 96,
              "log_msg: the fields below and nothing else");
static_assert(offsetof(log_msg, logger_name) == 0 && offsetof(log_msg, level) == 16 &&
                  offsetof(log_msg, time) == 24 && offsetof(log_msg, thread_id) == 32 &&
                  offsetof(log_msg, color_range_start) == 40 &&
                  offsetof(log_msg, color_range_end) == 48 && offsetof(log_msg, source) == 56 &&
                  offsetof(log_msg, payload) == 80,
              "log_msg: each field where the host's spdlog reads it");
static_assert(sizeof(spdlog::level_t) == 4 && sizeof(spdlog::sinks::sink) == 16,
              "sink: its table, then its level and nothing else");
}  // namespace log_abi
#endif

std::shared_ptr<spdlog::logger>& PluginLog() {
  static std::shared_ptr<spdlog::logger> holder;
  return holder;
}

void CreatePluginLogger() {
  std::shared_ptr<spdlog::logger>& holder = PluginLog();
  auto& hostSinks = GetLogSinks();
  // Constructed directly, so the logger stays out of the log library's registry of names.
  holder = std::make_shared<spdlog::logger>(std::string("QuestVeto"), hostSinks.begin(),
                                            hostSinks.end());
  // The pattern (local time, the formatter's default) is set through each sink rather than the
  // logger: the sink's own code, the host's, then makes the formatter it keeps. A formatter made
  // here would stay in the host's sinks after this library is unloaded, its code gone with it.
  for (const auto& sink : holder->sinks()) sink->set_pattern("%D %R [%n][%l] %v");
  holder->flush_on(spdlog::level::info);
}
