// The journal entries of what the game was asked to show or send, shared by the suites that drive
// the game: exact entries to expect, and patterns that pick them out of the journal. The keys are
// the journal views'; the text is the journal's own writing of a call, stated here independently.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "standin/JournalViews.h"

inline const char* const kGreen = "(0, 1, 0, 1)";
inline const char* const kRed = "(1, 0, 0, 1)";
inline const char* const kWhite = "(1, 1, 1, 1)";

// The entry of the call of `key` with `arguments`: "key(first, second, ...)".
inline std::string CallEntry(const char* key, std::initializer_list<std::string> arguments) {
  std::string entry = std::string(key) + "(";
  const char* separator = "";
  for (const std::string& argument : arguments) {
    entry += separator + argument;
    separator = ", ";
  }
  return entry + ")";
}
// The entries of calls of `key` whose arguments begin with `first` ("*" for any).
inline std::string CallsOf(const char* key, const std::string& first) {
  return std::string(key) + "(" + first + (first == "*" ? "" : ", *");
}
inline std::string ControllerOf(const std::string& player) {
  return "controller \"" + player + "\"";
}
inline std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

// A chat message to `player`: `text` in `colour` ("(0, 1, 0, 1)"), flag false.
inline std::string ChatMessage(const std::string& player, const std::string& text,
                               const std::string& colour) {
  return CallEntry(StandIn::Journal::ChatMessage::kKey,
                   {ControllerOf(player), Quoted(text), colour, "false"});
}
// Any chat message to `player`.
inline std::string ChatTo(const std::string& player) {
  return CallsOf(StandIn::Journal::ChatMessage::kKey, ControllerOf(player));
}

// An RCON reply on the world's `connection`th connection under `requestId`, of type 0.
inline std::string RconReply(int connection, int32_t requestId, const std::string& text) {
  return CallEntry(
      StandIn::Journal::RconReply::kKey,
      {"rcon " + std::to_string(connection), std::to_string(requestId), "0", Quoted(text)});
}
inline const std::string kAnyRconReply = CallsOf(StandIn::Journal::RconReply::kKey, "*");

// A call that reached the game's own mission start.
inline const std::string kGameStart = CallsOf(StandIn::Journal::GameStart::kKey, "*");
