#include "standin/CallText.h"

#include <algorithm>
#include <string>

#include "standin/GameString.h"

namespace StandIn::CallText {
namespace {

const Namer* currentNamer = nullptr;

}  // namespace

void NameWith(const Namer* namer) {
  currentNamer = namer;
}

std::string Quoted(const std::string& utf8) {
  return "\"" + utf8 + "\"";
}

std::string Arg(const FString* text) {
  if (text == nullptr) return "null";
  const std::string flaw = UnreadableBecause(*text);
  if (!flaw.empty()) return "malformed " + flaw;
  const std::string quoted = Quoted(TextOf(text));
  // A sound string counts its terminator: its first 0 is its last counted character.
  const WideChar* const begin = text->Chars;
  const WideChar* const end = begin + text->Count;
  const bool counted = text->Count == 0 || std::find(begin, end, WideChar(0)) == end - 1;
  return counted ? quoted : fmt::format("{} (count {})", quoted, text->Count);
}

std::string Arg(const char* narrow) {
  return narrow == nullptr ? "null" : Quoted(narrow);
}

std::string Arg(FName name) {
  const std::string* text = currentNamer != nullptr ? currentNamer->InternedText(name) : nullptr;
  return text != nullptr ? Quoted(*text) : fmt::format("name {:#x}", name.Value);
}

std::string Arg(const LinearColor* color) {
  if (color == nullptr) return "null";
  return fmt::format("({}, {}, {}, {})", color->R, color->G, color->B, color->A);
}

std::string Arg(const void* object) {
  return currentNamer != nullptr ? currentNamer->Describe(object) : fmt::format("{}", object);
}

Journal::Value ValueOf(const FString* text) {
  if (text == nullptr || !UnreadableBecause(*text).empty()) return {};
  return TextOf(text);
}

Journal::Value ValueOf(const char* narrow) {
  if (narrow == nullptr) return {};
  return std::string(narrow);
}

Journal::Value ValueOf(FName name) {
  const std::string* text = currentNamer != nullptr ? currentNamer->InternedText(name) : nullptr;
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
