// One thing the check reports about a config.json.
#pragma once

#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "tools/configcheck/TextPosition.h"

enum class Severity {
  Warning,  // the plugin reads the file, but not the way the operator most likely meant
  Error,    // the plugin cannot read the file at all
};

struct Finding {
  Severity Level;
  std::string Message;
  std::optional<TextPosition> At;  // where the key or value concerned begins; none for the file
  std::string Key;                 // the top-level key concerned; empty when none
};

// "null", "an object", "an array", "a string", "a boolean", "a number": what a JSON value is, as
// findings name it.
std::string Described(const nlohmann::json& value);

// `text` in double quotes, with quotes, backslashes and control characters escaped as in JSON,
// so that any key, entry or name stays on its line; invalid UTF-8 shows as U+FFFD.
std::string Quoted(const std::string& text);
