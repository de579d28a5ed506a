#include "standin/CallText.h"

#include <string>

#include "standin/GameString.h"
#include "standin/Server.h"
#include "standin/World.h"

namespace StandIn::CallText {

std::string Quoted(const std::string& utf8) {
  return "\"" + utf8 + "\"";
}

namespace {

bool WellFormed(const FString& text) {
  return text.Count >= 0 && text.Capacity >= text.Count &&
         (text.Count == 0 || text.Chars != nullptr);
}

}  // namespace

std::string Arg(const FString* text) {
  if (text == nullptr) return "null";
  if (!WellFormed(*text)) {
    return fmt::format("malformed string (count {}, capacity {})", text->Count, text->Capacity);
  }
  const std::string quoted = Quoted(TextOf(text));
  // A sound string counts its terminator: its count is one past its text, or 0 when it is empty.
  const bool counted = text->Count == 0 || (text->Chars[text->Count - 1] == 0 &&
                                            std::char_traits<WideChar>::length(text->Chars) + 1 ==
                                                static_cast<std::size_t>(text->Count));
  return counted ? quoted : fmt::format("{} (count {})", quoted, text->Count);
}

std::string Arg(const char* narrow) {
  return narrow == nullptr ? "null" : Quoted(narrow);
}

std::string Arg(FName name) {
  if (!Running()) return fmt::format("name {:#x}", name.Value);
  const std::string* text = CurrentWorld().Names().Find(name);
  return text != nullptr ? Quoted(*text) : fmt::format("name {:#x}", name.Value);
}

std::string Arg(const LinearColor* color) {
  if (color == nullptr) return "null";
  return fmt::format("({}, {}, {}, {})", color->R, color->G, color->B, color->A);
}

std::string Arg(const void* object) {
  return Running() ? CurrentWorld().Describe(object) : fmt::format("{}", object);
}

Journal::Value ValueOf(const FString* text) {
  if (text == nullptr || !WellFormed(*text)) return {};
  return TextOf(text);
}

Journal::Value ValueOf(const char* narrow) {
  if (narrow == nullptr) return {};
  return std::string(narrow);
}

Journal::Value ValueOf(FName name) {
  const std::string* text = Running() ? CurrentWorld().Names().Find(name) : nullptr;
  if (text == nullptr) return static_cast<int64_t>(name.Value);
  return *text;
}

Journal::Value ValueOf(const LinearColor* color) {
  if (color == nullptr) return {};
  return *color;
}

std::string Call(const char* key, const std::vector<std::string>& arguments) {
  return fmt::format("{}({})", key, fmt::join(arguments, ", "));
}

}  // namespace StandIn::CallText
