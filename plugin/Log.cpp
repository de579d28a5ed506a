#include "plugin/Log.h"

#include <string>

#include <spdlog/sinks/sink.h>

#include "host/HostApi.h"

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
