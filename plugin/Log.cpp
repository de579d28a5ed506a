#include "plugin/Log.h"

#include <string>

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
  holder->set_pattern("%D %R [%n][%l] %v", spdlog::pattern_time_type::local);
  holder->flush_on(spdlog::level::info);
}
