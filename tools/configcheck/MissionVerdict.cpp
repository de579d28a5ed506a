#include "tools/configcheck/MissionVerdict.h"

#include <exception>

#include <fmt/format.h>

#include "host-bridge/FString.h"
#include "rules/ConfigKeys.h"
#include "tools/configcheck/ConfigCheck.h"

namespace {

using nlohmann::json;

// The plugin's search ended in `failure`, which it answers with "not switched off": a top level
// that is not an object, or an entry that is no string, with the later entry that would have
// matched had the search gone on.
std::string WhyNotReached(const json& config, const FString& displayName,
                          const std::exception& failure) {
  if (!config.is_object()) {
    return fmt::format("the top level is {}, not an object", Described(config));
  }
  const json& list = config.at(kDisabledMissionsKey);
  std::size_t number = 0;
  std::size_t stop = 0;
  const json* stopEntry = nullptr;
  // The string entries after the stop, as a list of their own, and their numbers in `list`.
  json later = {{kDisabledMissionsKey, json::array()}};
  std::vector<std::size_t> laterNumbers;
  for (const json& entry : list) {
    ++number;
    if (stopEntry == nullptr && !entry.is_string()) {
      stop = number;
      stopEntry = &entry;
    } else if (stopEntry != nullptr && entry.is_string()) {
      later[kDisabledMissionsKey].push_back(entry);
      laterNumbers.push_back(number);
    }
  }
  if (stopEntry == nullptr) return failure.what();
  std::string stopped = fmt::format("entry {} is {}, not a string, and stops the search", stop,
                                    Described(*stopEntry));
  const auto wouldMatch = FindDisablingEntry(later, displayName);
  if (!wouldMatch) return stopped;
  return fmt::format("{} before entry {} {}, which would switch it off", stopped,
                     laterNumbers[wouldMatch->Index], Quoted(wouldMatch->Text));
}

MissionVerdict Judge(json& config, const std::string& name) {
  const FString displayName = FString::FromUtf8(name);
  try {
    auto entry = FindDisablingEntry(config, displayName);
    const bool disabled = entry.has_value();
    return {name, disabled, std::move(entry), {}};
  } catch (const std::exception& failure) {
    // As the plugin's filter: a configuration of the wrong shape switches nothing off.
    return {name, false, std::nullopt, WhyNotReached(config, displayName, failure)};
  }
}

}  // namespace

std::vector<MissionVerdict> JudgeMissions(std::optional<nlohmann::json>& config,
                                          const std::vector<std::string>& names) {
  std::vector<MissionVerdict> verdicts;
  for (const std::string& name : names) {
    if (config) {
      verdicts.push_back(Judge(*config, name));
    } else {
      verdicts.push_back(
          {name, std::nullopt, std::nullopt, "not checked: the file cannot be read"});
    }
  }
  return verdicts;
}
