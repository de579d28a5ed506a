// The engine's string of 16-bit characters. Its buffer always comes from the game's heap through
// HostRealloc/HostFree, so strings can be handed to game functions and taken back from them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "host-bridge/Platform.h"

// Allocates (`buffer` null, "FMemory.Malloc") or resizes ("FMemory.Realloc") a game heap block.
void* HostRealloc(void* buffer, std::size_t size);
// Releases a non-null game heap block through "FMemory.Free".
void HostFree(void* buffer) noexcept;

struct FString {
  WideChar* Chars = nullptr;  // the buffer, or null
  int32_t Count = 0;          // characters in use, the terminating 0 included; 0 when empty
  int32_t Capacity = 0;       // characters the buffer can hold

  FString() = default;
  // Copy of 0-terminated wide text; null or "" gives an empty string.
  explicit FString(const WideChar* text);
  // Each byte of 0-terminated narrow text widened; bytes above 0x7F become '?'.
  explicit FString(const char* text);
  FString(FString&& other) noexcept;
  FString& operator=(FString&& other) noexcept;
  FString(const FString&) = delete;
  FString& operator=(const FString&) = delete;
  // Releases the buffer through HostFree.
  ~FString();

  // `pattern` through fmt's wide formatting with no arguments, then as FString(const WideChar*).
  // Throws fmt::format_error on a brace that is not part of "{{" or "}}".
  static FString Format(const WideChar* pattern);
  // `pattern` through fmt's narrow formatting with no arguments, then as FString(const char*);
  // unlike that construction, an empty result gives an empty string (no buffer).
  static FString Format(const char* pattern);
  // UTF-8 text through the host's Utf8Decode, up to its first 0.
  static FString FromUtf8(const std::string& text);

  // The text view: never null, "" for an empty string.
  const WideChar* Text() const { return Count != 0 ? Chars : EmptyText(); }
  // True when the fields describe text that can be read safely: 0 <= Count <= Capacity, a buffer
  // whenever Count is not 0, and the last counted character the terminator. Reads at most that
  // one character, and only once the other fields have been found sound. A plugin cannot see the
  // game heap, so unlike the game this does not ask that the buffer be a block of it.
  bool WellFormed() const {
    if (Count < 0 || Count > Capacity) return false;
    if (Count == 0) return true;
    return Chars != nullptr && Chars[Count - 1] == 0;
  }
  // Characters before the terminator.
  int32_t Length() const { return Count != 0 ? Count - 1 : 0; }
  // The text view up to its first 0, through the host's Utf8Encode.
  std::string ToUtf8() const;

 private:
  static const WideChar* EmptyText() {
    static const WideChar empty[1] = {0};
    return empty;
  }
};

static_assert(sizeof(FString) == 16, "FString is pointer, count, capacity");

// Index of `pattern` in the text view of `text`, or -1. Case is ignored only when `ignoreCase`
// is 1; the search runs from the end when `fromEnd` is not 0; `start` -1 means no start position.
int32_t FindSubstring(const FString& text, const WideChar* pattern, int32_t ignoreCase,
                      int32_t fromEnd, int32_t start);
