// What the benchmarks feed the plugin: a 32-character mission display name and a list of
// "DisabledMissions" entries in ASCII or non-ASCII text, with the one entry that matches the
// name, if any, placed last so that every entry is tried.
#pragma once

#include <string>
#include <vector>

enum class Script { Ascii, NonAscii };

struct Workload {
  std::string MissionName;           // UTF-8, 32 UTF-16 characters
  std::vector<std::string> Entries;  // UTF-8
  bool Matches;                      // whether the last entry is found in MissionName
};

// `count` entries (at least 1). Every entry but the last shares a prefix with the name and then
// differs, so the search compares a few characters at each; the last one is found at the end of
// the name when `matchLast`, and is another such near miss otherwise.
Workload MakeWorkload(Script script, int count, bool matchLast);

// A config.json whose "DisabledMissions" array holds `entries`; `summarised`: it asks for the
// summary of each read too.
std::string ConfigText(const std::vector<std::string>& entries, bool summarised = false);
