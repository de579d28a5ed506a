// The keys config.json may hold, and for an unknown key the known key the operator most likely
// meant.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "plugin/Config.h"

inline constexpr std::array<const char*, 3> kKnownKeys = {kDisabledMissionsKey, kDisabledMessageKey,
                                                          kShowMissionNamesKey};

// True for a key the plugin reads; keys are compared exactly, case included.
bool IsKnownKey(const std::string& key);

// Edits (insertions, deletions, substitutions of one byte) that turn `a` into `b`, ignoring the
// case of ASCII letters.
std::size_t EditDistanceIgnoringCase(const std::string& a, const std::string& b);

// The known key nearest to `unknown`, when it is at most three edits away (a key that differs
// only in case is zero edits away); the first in the list of keys on a tie.
std::optional<std::string> NearestKnownKey(const std::string& unknown);
