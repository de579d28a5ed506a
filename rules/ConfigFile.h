// Reading config.json as the plugin reads it, and what the plugin takes an operator to have meant
// where the file or its keys are not what it reads: the one way the plugin, and every tool that
// checks the file, goes about it.
#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

// A place in a text file as editors and compilers name it: line and column from 1, the column
// counted in bytes as the JSON library's parse errors count it.
struct TextPosition {
  std::size_t Line;
  std::size_t Column;
};

// `utf8` as config.json holds a string: in double quotes, with quotes, backslashes and control
// characters escaped (a line break as \n), everything else as it is; a byte that is not part of
// well-formed UTF-8 becomes U+FFFD. Keeps any configured text on one line.
std::string ConfigString(const std::string& utf8);

// Thrown when config.json cannot be opened, or is a directory; what() is "Can't open config.json".
class ConfigFileUnopened : public std::runtime_error {
 public:
  ConfigFileUnopened() : std::runtime_error("Can't open config.json") {}
};

// The first JSON value in the file at `path`. Throws ConfigFileUnopened when the file cannot be
// opened, or the JSON library's error (parse_error with line and column, out_of_range for a number
// too large) when it is not valid JSON. Comments are not allowed; a UTF-8 byte order mark is
// skipped. Text after the value is never parsed; when `ignoredTextAt` is given, it receives where
// that text begins (none when only white space follows).
nlohmann::json ParseConfigFile(const std::string& path,
                               std::optional<TextPosition>* ignoredTextAt = nullptr);

// The key the plugin reads (kConfigKeys) that the top-level key `written` of `config` is most
// likely a misspelling of: one that differs from it only in letter case (A-Z), or by one or two
// letters added, dropped or replaced, and is not itself in `config`; the nearest, the first
// listed on a tie. Null for a key the plugin reads, and for one with no such key near it.
const char* MeantKey(const nlohmann::json& config, const std::string& written);

// A top-level key that the plugin never reads, most likely `Meant` misspelt (MeantKey).
struct MisspeltKey {
  std::string Written;
  const char* Meant;
};
// The misspelt keys of `config`, in the object's order; none when it is not an object.
std::vector<MisspeltKey> MisspeltKeys(const nlohmann::json& config);

// A file beside the missing config.json at `path` that was most likely meant to be it, and what
// to do with it.
struct ConfigNearMiss {
  std::string Name;    // as the directory lists it (UTF-8)
  std::string Advice;  // "rename it to config.json (...)" or "copy it to config.json"
};
// The near misses in the directory of `path`: "config.json.txt" (Windows hides known extensions),
// a name that differs from config.json only in letter case, or else "config.sample.json". None
// when the directory cannot be listed.
std::vector<ConfigNearMiss> ConfigNearMisses(const std::string& path);
