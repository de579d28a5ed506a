// The keys of config.json and the defaults the plugin applies to them: one list for the plugin
// and for the tools that read the same file.
#pragma once

// Array of mission name parts; a display name containing one of them, ignoring case, is refused.
inline constexpr const char* kDisabledMissionsKey = "DisabledMissions";
// The notification text a refused player sees; passes through the formatter ("{{" shows as "{").
inline constexpr const char* kDisabledMessageKey = "DisabledMessage";
// Boolean: whether mission starts are written to the log.
inline constexpr const char* kShowMissionNamesKey = "ShowMissionNames";

inline constexpr const char* kDefaultDisabledMessage =
    "This mission has been disabled, but you have had it unlocked now!";
