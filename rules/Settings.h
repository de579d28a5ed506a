// The settings of a configuration as the plugin reads them: each key's value, or its default when
// the key is absent or its value cannot be used, and then why. Shared with the tools that check
// the same file, so that they tell what the plugin will do by the plugin's own rule.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

template <typename T>
struct Setting {
  T Value;
  // Why the default applies although the key is given (the JSON library's message: a value of
  // another type, a configuration that is no object); empty when the value is used or absent.
  std::string Problem;
};

// "DisabledMessage" of `config` (UTF-8 text), or the default notification text.
Setting<std::string> DisabledMessageIn(const nlohmann::json& config);
// "ShowMissionNames" of `config`, or false.
Setting<bool> ShowMissionNamesIn(const nlohmann::json& config);
// "ShowConfigSummary" of `config`, or false.
Setting<bool> ShowConfigSummaryIn(const nlohmann::json& config);
