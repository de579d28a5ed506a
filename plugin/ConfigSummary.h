// What a read of the configuration put in force, as the log tells the operator when
// "ShowConfigSummary" asks for it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

// "<n> entries of "DisabledMissions" in force" ("1 entry" for one): the entries the filter tries.
std::string EntriesInForceText(std::size_t entries);

// What a configuration puts in force: the entries the filter tries, in its order, and each
// setting's value as it applies. A reload compares these of the configuration it replaced and the
// new one, rather than the documents, whose comparison would recurse once per level of nesting.
struct ConfigInForce {
  std::vector<std::string> Entries;
  std::string DisabledMessage;
  bool ShowMissionNames = false;
  bool ShowConfigSummary = false;
};
ConfigInForce InForceIn(const nlohmann::json& config);

// What changed from `before` to `after`: the entries added and removed, each list quoted and cut
// after ten names, and each setting whose value in force changed (a key dropped whose value was
// its default changes nothing); "no change" when none.
// For example: added "Ride", "Cave"; removed "Hunt"; "ShowMissionNames" changed
std::string ChangesInForce(const ConfigInForce& before, const ConfigInForce& after);
