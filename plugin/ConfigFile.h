// Reading config.json: the one way the plugin, and every tool that checks the file, parses it.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

// The first JSON value in the file at `path`; text after it is not read. Throws
// std::runtime_error "Can't open config.json" when the file cannot be opened, or the JSON
// library's error (parse_error with line and column, out_of_range for a number too large) when
// it is not valid JSON. Comments are not allowed; a UTF-8 byte order mark is skipped.
nlohmann::json ParseConfigFile(const std::string& path);
