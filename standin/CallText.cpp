#include "standin/CallText.h"

#include "standin/GameString.h"
#include "standin/GameWorld.h"
#include "standin/Server.h"

namespace StandIn::CallText {

std::string Quoted(const std::string& utf8) {
  return "\"" + utf8 + "\"";
}

std::string Arg(const FString* text) {
  if (text == nullptr) return "null";
  if (text->Count < 0 || text->Capacity < text->Count ||
      (text->Count > 0 && text->Chars == nullptr)) {
    return fmt::format("malformed string (count {}, capacity {})", text->Count, text->Capacity);
  }
  return Quoted(TextOf(text));
}

std::string Arg(const char* narrow) {
  return narrow == nullptr ? "null" : Quoted(narrow);
}

std::string Arg(FName name) {
  if (!Running()) return fmt::format("name {:#x}", name.Value);
  const std::string* text = RunningWorld().Names().Find(name);
  return text != nullptr ? Quoted(*text) : fmt::format("name {:#x}", name.Value);
}

std::string Arg(const LinearColor* color) {
  if (color == nullptr) return "null";
  return fmt::format("({}, {}, {}, {})", color->R, color->G, color->B, color->A);
}

std::string Arg(const void* object) {
  return Running() ? RunningWorld().Describe(object) : fmt::format("{}", object);
}

std::string Call(const char* key, const std::vector<std::string>& arguments) {
  return fmt::format("{}({})", key, fmt::join(arguments, ", "));
}

}  // namespace StandIn::CallText
