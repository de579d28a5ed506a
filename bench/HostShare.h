// Whose cost it is: the stand-in host's share of a filter call, measured apart from the plugin's.
// For each entry the filter makes an engine string of it and gives it back, which asks the host
// for the entry's UTF-16 text (Utf8Decode), looks up "FMemory.Malloc" and "FMemory.Free" and
// takes and releases one game heap block; everything else a filter call does is the plugin's.
#pragma once

#include <string>
#include <vector>

// Makes those crossings for each of `entries`, directly and in the filter's order; a caller times
// it.
void HostCrossings(const std::vector<std::string>& entries);
