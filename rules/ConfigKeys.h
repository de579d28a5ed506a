// The keys of config.json the plugin reads, with their defaults: the one list of them that the
// plugin and every tool checking the same file go by.
#pragma once

#include <array>

// Array of mission name parts; a display name containing one of them, ignoring case, is refused.
inline constexpr const char* kDisabledMissionsKey = "DisabledMissions";
// The notification text a refused player sees; passes through the formatter ("{{" shows as "{").
inline constexpr const char* kDisabledMessageKey = "DisabledMessage";
// Boolean: whether mission starts are written to the log.
inline constexpr const char* kShowMissionNamesKey = "ShowMissionNames";
// Boolean: whether each read of the file is confirmed in the log, with what is in force and, at a
// reload, what changed.
inline constexpr const char* kShowConfigSummaryKey = "ShowConfigSummary";

// Every top-level key the plugin reads; any other is ignored. On a tie between two keys a
// misspelling is taken for the one listed first.
inline constexpr std::array<const char*, 4> kConfigKeys = {
    kDisabledMissionsKey, kDisabledMessageKey, kShowMissionNamesKey, kShowConfigSummaryKey};

inline constexpr const char* kDefaultDisabledMessage =
    "This mission has been disabled, but you have had it unlocked now!";
