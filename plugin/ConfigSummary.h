// What a read of the configuration put in force, as the log tells the operator.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

// "<n> entries of "DisabledMissions" in force" ("1 entry" for one): the entries the filter tries.
std::string EntriesInForceText(const nlohmann::json& config);

// What changed from `before` to `after`: the entries in force added and removed, each list
// quoted and cut after ten names, and each setting whose value changed; "no change" when none.
// For example: added "Ride", "Cave"; removed "Hunt"; "ShowMissionNames" changed
std::string ChangesInForce(const nlohmann::json& before, const nlohmann::json& after);
