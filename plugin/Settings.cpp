#include "plugin/Settings.h"

#include <exception>

#include "plugin/Config.h"
#include "plugin/ConfigWarnings.h"

namespace {

template <typename T>
T SettingOr(const char* key, const T& fallback) {
  try {
    return PluginConfig.value(key, fallback);
  } catch (const std::exception& error) {  // GCOVR_EXCL_BR_LINE nothing else is thrown here
    WarnConfigFallback(key, error.what());
    return fallback;
  }
}

}  // namespace

std::string DisabledMessage() {
  return SettingOr<std::string>(kDisabledMessageKey, kDefaultDisabledMessage);
}

bool ShowMissionNames() {
  return SettingOr<bool>(kShowMissionNamesKey, false);
}
