// Random configuration files for the soak run, each with what the plugin must make of it.
#pragma once

#include <random>
#include <string>
#include <vector>

struct ConfigCase {
  enum class Kind { Valid, Broken, Missing };

  Kind Of = Kind::Valid;
  std::string Text;  // the file's content; nothing is written for Missing
  // For a valid file: the entries the filter tries, lower-case, in order, up to the first entry
  // that is not a string; a mission is switched off when its name contains one that is not empty.
  std::vector<std::string> Entries;
  std::string Shape;  // what the generator made, for the summary
};

// A valid file of one of the forms the filter reads (an array, a single string, an object, an
// array stopped by a number, no key, null, a top-level array) with random settings beside it;
// entries come from `names`.
ConfigCase RandomValidConfig(std::mt19937_64& random, const std::vector<std::string>& names);

// A file the reload must refuse (cut short, with a comment, an overflowing number) or none at
// all; what is in force before must stay in force.
ConfigCase RandomBrokenConfig(std::mt19937_64& random, const std::vector<std::string>& names);

// True when a mission named `displayName` (ASCII) is switched off by `entries`.
bool SwitchedOff(const std::vector<std::string>& entries, const std::string& displayName);
