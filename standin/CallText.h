// How the journal writes a crossing: "Key(arg, arg, ...)", each argument as the game or host
// received it (objects by the world's names, engine strings and names as quoted text, numbers
// exactly), beside the arguments' values. Built only while the journal records.
#pragma once

#include <string>
#include <type_traits>
#include <vector>

#include <fmt/format.h>

#include "host-bridge/Color.h"
#include "host-bridge/FString.h"
#include "host-bridge/GameTypes.h"
#include "standin/JournalWriter.h"

namespace StandIn::CallText {

// What names the game's objects and names in the journal: the running world (GameWorld), from its
// start to its end. Without one, objects are written by address and names by number.
class Namer {
 public:
  // How the journal names `object` (controller "Bob", character 1, ...).
  virtual std::string Describe(const void* object) const = 0;
  // The text interned for `name`, or null for a value that is no name.
  virtual const std::string* InternedText(FName name) const = 0;

 protected:
  ~Namer() = default;
};

// From now on `namer` names objects and names; null: nothing does.
void NameWith(const Namer* namer);

std::string Quoted(const std::string& utf8);
// An engine string handed over: its quoted text, with its count when that is not one past the
// text's terminator, or what is wrong with it.
std::string Arg(const FString* text);
std::string Arg(const char* narrow);
std::string Arg(FName name);
std::string Arg(const LinearColor* color);
// A game object by the running world's name for it.
std::string Arg(const void* object);
template <typename Number, typename = std::enable_if_t<std::is_arithmetic_v<Number>>>
std::string Arg(Number number) {
  return fmt::format("{}", number);
}

// The values of the arguments, as Journal::Value holds them.
Journal::Value ValueOf(const FString* text);
Journal::Value ValueOf(const char* narrow);
Journal::Value ValueOf(FName name);
Journal::Value ValueOf(const LinearColor* color);
inline Journal::Value ValueOf(const void* object) {
  return object;
}
template <typename Number, typename = std::enable_if_t<std::is_arithmetic_v<Number>>>
Journal::Value ValueOf(Number number) {
  if constexpr (std::is_floating_point_v<Number>) {
    return static_cast<double>(number);
  } else {
    return static_cast<int64_t>(number);
  }
}

std::string Call(const char* key, const std::vector<std::string>& arguments);

// Records the call of `key` with `arguments` when the journal records.
template <typename... Arguments>
void Record(const char* key, const Arguments&... arguments) {
  if (!Journal::Wants(key)) return;
  Journal::Append({Call(key, {Arg(arguments)...}), key, {ValueOf(arguments)...}});
}

}  // namespace StandIn::CallText
