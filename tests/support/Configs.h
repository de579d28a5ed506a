// The configurations that many tests start a server with or reload, each written once. "Hunt" is
// switched off by the ones a server starts with, "Ride" by the ones a reload reads.
#pragma once

inline constexpr const char* kHuntOff = R"({"DisabledMissions": ["Hunt"]})";
// kHuntOff with every mission start logged.
inline constexpr const char* kHuntOffLogged =
    R"({"DisabledMissions": ["Hunt"], "ShowMissionNames": true})";
// kHuntOff with the summary of each read asked for.
inline constexpr const char* kHuntOffSummarised =
    R"({"DisabledMissions": ["Hunt"], "ShowConfigSummary": true})";
inline constexpr const char* kRideOff = R"({"DisabledMissions": ["Ride"]})";
// kRideOff with the summary of each read asked for.
inline constexpr const char* kRideOffSummarised =
    R"({"DisabledMissions": ["Ride"], "ShowConfigSummary": true})";
// No JSON value: the list is never closed.
inline constexpr const char* kBroken = R"({"DisabledMissions": ["Hunt")";
