#include "rules/Settings.h"

#include <exception>

#include "rules/ConfigKeys.h"

namespace {

template <typename T>
Setting<T> SettingIn(const nlohmann::json& config, const char* key, const T& fallback) {
  try {
    return {config.value(key, fallback), {}};
  } catch (const std::exception& error) {  // GCOVR_EXCL_BR_LINE nothing else is thrown here
    return {fallback, error.what()};
  }
}

}  // namespace

Setting<std::string> DisabledMessageIn(const nlohmann::json& config) {
  return SettingIn<std::string>(config, kDisabledMessageKey, kDefaultDisabledMessage);
}

Setting<bool> ShowMissionNamesIn(const nlohmann::json& config) {
  return SettingIn(config, kShowMissionNamesKey, false);
}

Setting<bool> ShowConfigSummaryIn(const nlohmann::json& config) {
  return SettingIn(config, kShowConfigSummaryKey, false);
}
