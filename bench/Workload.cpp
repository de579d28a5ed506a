#include "Workload.h"

#include <fmt/format.h>
#include <nlohmann/json.hpp>

namespace {

struct Texts {
  const char* Name;      // 32 UTF-16 characters
  const char* NearMiss;  // a prefix of the name's words, then a number: "{:05}"
  const char* NameTail;  // found at the end of the name, in another case where the script has one
};

Texts TextsOf(Script script) {
  if (script == Script::Ascii) {
    return {"The Great Hunt of the Frost Wyrm", "great hunt {:05}", "FROST WYRM"};
  }
  // Cyrillic letters take two bytes in UTF-8 and are left as they are by the case folding, so
  // the tail is given in the name's own case.
  return {"Великая охота на Ледяного Змея!!", "Великая охота {:05}", "Ледяного Змея!!"};
}

}  // namespace

Workload MakeWorkload(Script script, int count, bool matchLast) {
  const Texts texts = TextsOf(script);
  Workload work{texts.Name, {}, matchLast};
  work.Entries.reserve(count);
  for (int i = 0; i + 1 < count; ++i) {
    work.Entries.push_back(fmt::format(fmt::runtime(texts.NearMiss), i));
  }
  work.Entries.push_back(matchLast ? std::string(texts.NameTail)
                                   : fmt::format(fmt::runtime(texts.NearMiss), count));
  return work;
}

std::string ConfigText(const std::vector<std::string>& entries, bool summarised) {
  nlohmann::json config{{"DisabledMissions", entries}};
  if (summarised) config["ShowConfigSummary"] = true;
  return config.dump();
}
