// An engine string owned by the stand-in game: the FString layout with its buffer on the game
// heap. Game objects hold these (display names, character names, command lines) and hand out
// their address as an FString*, as the real game does.
#pragma once

#include <cstdint>
#include <string>

#include "host/FString.h"
#include "host/Platform.h"

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

// UTF-8 of an engine string's text view up to its first 0; "" for a null pointer.
std::string TextOf(const FString* text);

}  // namespace StandIn
