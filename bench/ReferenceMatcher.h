// The yardstick for the plugin's filter: the same containment test, ignoring case by the same
// folding, with every entry decoded and upper-cased once up front and each search done without
// allocating. The filter must instead decode, build and release each entry at every call, so
// its cost is reported as a multiple of this one.
#pragma once

#include <string>
#include <vector>

#include "host-bridge/FString.h"

class ReferenceMatcher {
 public:
  explicit ReferenceMatcher(const std::vector<std::string>& entriesUtf8);

  // True when the text of `name` contains an entry, ignoring case; an empty entry matches
  // nothing, as in the filter.
  bool Matches(const FString& name) const;

 private:
  std::vector<WideString> upperEntries_;
};
