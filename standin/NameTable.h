// The game's engine names: "FName.Init" interns narrow text into an 8-byte value, and the game
// functions that take names turn them back into text for their recordings. Names compare by exact
// text, so a wrongly cased entry name shows up as a name of its own.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "host-bridge/GameTypes.h"

namespace StandIn {

class NameTable {
 public:
  // The name of `text`: the same value for the same text, a different one for any other.
  FName Intern(const std::string& text);
  // The text of a name this table made, or null for any other value (zeroed storage included).
  const std::string* Find(FName name) const;

 private:
  std::vector<std::string> texts_;
  std::unordered_map<std::string, uint64_t> values_;
};

}  // namespace StandIn
