// An engine string owned by the stand-in game: the FString layout with its buffer on the game
// heap. Game objects hold these (display names, character names, command lines) and hand out
// their address as an FString*, as the real game does.
#pragma once

#include <cstdint>
#include <string>

#include "host-bridge/FString.h"
#include "host-bridge/Platform.h"

namespace StandIn {

class GameString {
 public:
  GameString() = default;
  explicit GameString(const WideString& text) { Assign(text); }
  GameString(const GameString&) = delete;
  GameString& operator=(const GameString&) = delete;
  ~GameString() { Release(); }

  // Replaces the text; an empty text leaves no buffer (null, 0, 0).
  void Assign(const WideString& text);
  // Gives the buffer and its count and capacity to `storage`, whose owner releases it from then
  // on, and leaves this string empty. `storage` must hold no buffer.
  void HandOverTo(FString& storage);
  // The FString view of this string, for game functions and plugins.
  FString* AsFString() { return reinterpret_cast<FString*>(this); }
  const FString* AsFString() const { return reinterpret_cast<const FString*>(this); }

 private:
  void Release();

  WideChar* chars_ = nullptr;
  int32_t count_ = 0;
  int32_t capacity_ = 0;
};

// The stand-in's rule for an engine string a plugin hands to the game or the host, in two steps.
// Readable: 0 <= count <= capacity, a buffer whenever the count is not 0, and a buffer, if any,
// that is a live game heap block holding `capacity` characters. Sound: readable, and the last
// counted character the terminating 0. Unlike the plugin's own check (FString::WellFormed), which
// cannot see the game heap and asks only what is safe to read in place, this one holds every
// buffer to the game heap, where the game releases and resizes strings.
//
// What makes `text` unreadable, naming its fields, or "" when it is readable. Reads no character.
std::string UnreadableBecause(const FString& text);
// What makes `text` unsound, or "" when it is sound. Reads at most its last counted character,
// and only once it is found readable.
std::string UnsoundBecause(const FString& text);

// UTF-8 of a readable engine string's text up to its first 0 or its count, whichever comes
// first; "" for a null pointer.
std::string TextOf(const FString* text);

}  // namespace StandIn
