#include "tools/configcheck/Finding.h"

std::string Described(const nlohmann::json& value) {
  if (value.is_null()) return "null";
  const std::string name = value.type_name();
  const bool vowel = name.front() == 'a' || name.front() == 'o';
  return (vowel ? "an " : "a ") + name;
}

std::string Quoted(const std::string& text) {
  return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}
