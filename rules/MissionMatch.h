// The matching rule of the mission filter: which "DisabledMissions" entry switches a mission off.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host-bridge/FString.h"

struct DisablingEntry {
  std::size_t Index;  // position among the entries, in the order they are tried, from 0
  std::string Text;   // the entry as written (UTF-8)
};

// The first entry of `config`'s "DisabledMissions" that `displayName` contains, ignoring case
// (FindSubstring from the start), or none. The entries are tried in the order of the value's
// iteration: an array's elements, an object's values in key order, a single value itself, null
// nothing. The key is looked up with the non-const access, so a null `config` becomes an object
// and a missing key is added as null. Throws the JSON library's type_error when `config` is
// neither null nor an object (305) and at the first entry that is not a string (302), in which
// case no later entry is tried; an empty entry matches nothing.
std::optional<DisablingEntry> FindDisablingEntry(nlohmann::json& config,
                                                 const FString& displayName);

// Whether `config` switches off the mission named `displayName`: FindDisablingEntry, where a
// configuration of the wrong shape (its type_error: a top level that is no object, an entry that
// is not a string) switches nothing off from there on, and a name that is not well formed
// (FString::WellFormed) is never looked at and answers false. What the host's crossings throw
// (decoding an entry, the game heap) goes on to the caller, who reports or swallows it.
bool DisablesMission(nlohmann::json& config, const FString& displayName);

// The entries of `config`'s "DisabledMissions" the filter can match with: the strings it tries
// before its search stops at the first entry that is not a string. None when `config` is not an
// object or has no list. Reads `config` without changing it.
struct EntriesInForce {
  std::size_t Count = 0;
  std::vector<std::string> First;  // the first of them, in the order tried, as many as asked for
  // The JSON type name ("number", "array", ...) of the entry that ends the list, the one after
  // the Count strings; null when every entry is a string.
  const char* StopType = nullptr;
  std::size_t AfterStop = 0;  // the entries after that one, never tried
};
EntriesInForce ListEntriesInForce(const nlohmann::json& config, std::size_t firstWanted);

// ListEntriesInForce's count alone.
std::size_t CountEntriesInForce(const nlohmann::json& config);
