#include "ConfigCases.h"

#include <algorithm>
#include <cctype>

#include <nlohmann/json.hpp>

namespace {

using Json = nlohmann::json;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::size_t Below(std::mt19937_64& random, std::size_t bound) {
  return std::uniform_int_distribution<std::size_t>(0, bound - 1)(random);
}

const std::string& Pick(std::mt19937_64& random, const std::vector<std::string>& from) {
  return from[Below(random, from.size())];
}

// The optional settings beside "DisabledMissions", usable or not: the plugin falls back to the
// defaults for values it cannot use, and none of them may change a decision.
void AddSettings(std::mt19937_64& random, Json& config) {
  static const Json kMessages[] = {"Switched off.", "", "Braces: {{like this}}", "{}", "lone }", 42,
                                   nullptr};
  static const Json kShowNames[] = {true, false, "yes", 1};
  if (Below(random, 2) == 0) config["DisabledMessage"] = kMessages[Below(random, 7)];
  if (Below(random, 2) == 0) config["ShowMissionNames"] = kShowNames[Below(random, 4)];
}

}  // namespace

ConfigCase RandomValidConfig(std::mt19937_64& random, const std::vector<std::string>& names) {
  ConfigCase made;
  Json config = Json::object();
  const std::size_t count = 1 + Below(random, 4);
  switch (Below(random, 7)) {
    case 0:
    case 1: {
      made.Shape = "array";
      Json list = Json::array();
      for (std::size_t i = 0; i < count; ++i) {
        list.push_back(Pick(random, names));
        made.Entries.push_back(Lower(list.back().get<std::string>()));
      }
      config["DisabledMissions"] = list;
      break;
    }
    case 2:
      made.Shape = "single string";
      config["DisabledMissions"] = Pick(random, names);
      made.Entries.push_back(Lower(config["DisabledMissions"].get<std::string>()));
      break;
    case 3: {
      made.Shape = "object";
      // Member names in ascending order, so that the values are tried in insertion order.
      Json members = Json::object();
      for (std::size_t i = 0; i < count; ++i) {
        members["m" + std::to_string(i)] = Pick(random, names);
        made.Entries.push_back(Lower(members["m" + std::to_string(i)].get<std::string>()));
      }
      config["DisabledMissions"] = members;
      break;
    }
    case 4: {
      made.Shape = "array stopped by a number";
      Json list = Json::array();
      const std::size_t stop = Below(random, count + 1);
      for (std::size_t i = 0; i <= count; ++i) {
        if (i == stop) {
          list.push_back(7);
          continue;
        }
        list.push_back(Pick(random, names));
        if (i < stop) made.Entries.push_back(Lower(list.back().get<std::string>()));
      }
      config["DisabledMissions"] = list;
      break;
    }
    case 5:
      made.Shape = Below(random, 2) == 0 ? "no list" : "null list";
      if (made.Shape == "null list") config["DisabledMissions"] = nullptr;
      break;
    default:
      made.Shape = "top-level array";
      made.Text = Json::array({Pick(random, names)}).dump();
      return made;
  }
  AddSettings(random, config);
  made.Text = config.dump(Below(random, 2) == 0 ? -1 : 2);
  return made;
}

ConfigCase RandomBrokenConfig(std::mt19937_64& random, const std::vector<std::string>& names) {
  ConfigCase made;
  made.Of = ConfigCase::Kind::Broken;
  const std::string valid = Json{{"DisabledMissions", Json::array({Pick(random, names)})}}.dump();
  switch (Below(random, 4)) {
    case 0:
      made.Shape = "cut short";
      // Any proper prefix of an object's text lacks its closing brace.
      made.Text = valid.substr(0, Below(random, valid.size()));
      break;
    case 1:
      made.Shape = "comment";
      made.Text = "// switched off\n" + valid;
      break;
    case 2:
      made.Shape = "number overflow";
      made.Text = R"({"DisabledMissions": [1e999999]})";
      break;
    default:
      made.Shape = "missing file";
      made.Of = ConfigCase::Kind::Missing;
      break;
  }
  return made;
}

bool SwitchedOff(const std::vector<std::string>& entries, const std::string& displayName) {
  const std::string name = Lower(displayName);
  return std::any_of(entries.begin(), entries.end(), [&](const std::string& entry) {
    return !entry.empty() && name.find(entry) != std::string::npos;
  });
}
