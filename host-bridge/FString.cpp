#include "host-bridge/FString.h"

#include <algorithm>
#include <climits>
#include <stdexcept>

#include <fmt/format.h>

#include "host-bridge/GameFunction.h"

namespace {

using MallocFunction = void*(uint64_t size, uint32_t alignment);
using ReallocFunction = void*(void* buffer, uint64_t size);
using FreeFunction = void(void* buffer);

// Count for a text of `length` characters plus its terminator; a text that does not fit the
// engine's signed 32-bit count is refused instead of wrapping into a negative count.
int32_t CountFor(std::size_t length, const char* what) {
  if (length >= static_cast<std::size_t>(INT32_MAX)) {  // GCOVR_EXCL_START a 2 GiB text per test
    throw std::length_error(
        fmt::format("FString: {} text of {} characters exceeds the engine's limit", what, length));
  }  // GCOVR_EXCL_STOP
  return static_cast<int32_t>(length) + 1;
}

// Sets the capacity to `capacity` characters and, unless it is 0, allocates or resizes the buffer
// to match. The fields change only once the game heap has answered.
void SetCapacity(FString& string, int32_t capacity) {
  if (capacity != 0) {
    string.Chars = static_cast<WideChar*>(
        HostRealloc(string.Chars, static_cast<std::size_t>(capacity) * sizeof(WideChar)));
  }
  string.Capacity = capacity;
}

// The engine's growing rule for a string whose Count is already set: a small first buffer of 4,
// otherwise Count plus 3/8 of it plus 16, capped at the largest signed 32-bit value.
void GrowToCount(FString& string) {
  if (string.Capacity == 0 && string.Count <= 4) {
    SetCapacity(string, 4);
    return;
  }
  const int64_t count = string.Count;
  SetCapacity(string,
              static_cast<int32_t>(std::min<int64_t>(count + 3 * count / 8 + 16, INT32_MAX)));
}

// Upper-case copy of `string`'s text with the same Count and a capacity of exactly Count.
FString UpperCaseCopy(const FString& string) {
  FString copy;
  SetCapacity(copy, string.Count);
  copy.Count = string.Count;
  const int32_t length = string.Length();
  const WideChar* text = string.Text();
  for (int32_t i = 0; i < length; ++i) {
    copy.Chars[i] = Platform::ToUpper(text[i]);
  }
  if (copy.Count != 0) {
    copy.Chars[length] = 0;
  }
  return copy;
}

// Upper-case FString of 0-terminated `pattern`.
FString UpperCasePattern(const WideChar* pattern) {
  FString copy(pattern);
  for (int32_t i = 0; i < copy.Length(); ++i) {
    copy.Chars[i] = Platform::ToUpper(copy.Chars[i]);
  }
  return copy;
}

// First match at or after `from` in `text`. Each character whose upper case is the pattern's
// first is a candidate for comparing the rest; an empty pattern never matches.
int32_t FindFromStartIgnoringCase(const WideChar* text, int32_t from, const WideChar* pattern) {
  if (pattern[0] == 0) {
    return -1;
  }
  const WideChar first = Platform::ToUpper(pattern[0]);
  const std::size_t rest = Platform::TextLength(pattern) - 1;
  for (int32_t i = from;; ++i) {
    const WideChar* candidate = text + i;
    while (*candidate != 0 && Platform::ToUpper(*candidate) != first) {
      ++candidate;
    }
    if (*candidate == 0) {
      return -1;
    }
    i = static_cast<int32_t>(candidate - text);
    if (Platform::CompareNoCase(candidate + 1, pattern + 1, rest) == 0) {
      return i;
    }
  }
}

int32_t FindFromStartCaseSensitive(const WideChar* text, int32_t from, const WideChar* pattern) {
  // An empty pattern is found where the search starts. Decided here rather than left to the
  // runtime's wcsstr: some runtimes find no empty pattern in an empty text.
  if (pattern[0] == 0) return from;
  const WideChar* match = Platform::FindText(text + from, pattern);
  return match != nullptr ? static_cast<int32_t>(match - text) : -1;
}

// Last match lying wholly before index `end`; an empty pattern yields end - 1.
int32_t FindFromEndCaseSensitive(const WideChar* text, int32_t end, const WideChar* pattern) {
  if (end <= 0) {
    return -1;  // also keeps `end` minus the pattern length from wrapping around
  }
  const int32_t patternLength = static_cast<int32_t>(Platform::TextLength(pattern));
  for (int32_t i = end - std::max(patternLength, 1); i >= 0; --i) {
    int32_t j = 0;
    while (pattern[j] != 0 && pattern[j] == text[i + j]) {
      ++j;
    }
    if (pattern[j] == 0) {
      return i;
    }
  }
  return -1;
}

}  // namespace

void* HostRealloc(void* buffer, std::size_t size) {
  void* result = buffer == nullptr ? GameFunction<MallocFunction>("FMemory.Malloc")(size, 0)
                                   : GameFunction<ReallocFunction>("FMemory.Realloc")(buffer, size);
  // A failed resize leaves the old block in place, still owned by the caller.
  if (result == nullptr && size != 0) {
    throw std::runtime_error(
        fmt::format("game heap: {} of {} bytes failed",
                    buffer == nullptr ? "\"FMemory.Malloc\"" : "\"FMemory.Realloc\"", size));
  }
  return result;
}

void HostFree(void* buffer) noexcept {
  if (buffer == nullptr) return;
  try {
    GameFunction<FreeFunction>("FMemory.Free")(buffer);
  } catch (...) {
    // Destructors release through here and must not throw: when the game's free cannot even be
    // looked up, the block stays allocated rather than the server going down.
  }
}

FString::FString(const WideChar* text) {
  if (text == nullptr || text[0] == 0) {
    return;
  }
  Count = CountFor(Platform::TextLength(text), "wide");
  GrowToCount(*this);
  std::copy(text, text + Count, Chars);
}

FString::FString(const char* text) {
  if (text == nullptr) {
    return;
  }
  Count = CountFor(std::char_traits<char>::length(text), "narrow");
  GrowToCount(*this);
  for (int32_t i = 0; i < Count; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    Chars[i] = byte <= 0x7F ? WideChar(byte) : WideChar(u'?');
  }
}

FString::FString(FString&& other) noexcept
    : Chars(other.Chars), Count(other.Count), Capacity(other.Capacity) {
  other.Chars = nullptr;
  other.Count = 0;
  other.Capacity = 0;
}

FString& FString::operator=(FString&& other) noexcept {
  if (this != &other) {
    HostFree(Chars);
    Chars = other.Chars;
    Count = other.Count;
    Capacity = other.Capacity;
    other.Chars = nullptr;
    other.Count = 0;
    other.Capacity = 0;
  }
  return *this;
}

FString::~FString() {
  HostFree(Chars);
}

FString FString::Format(const WideChar* pattern) {
  if (pattern == nullptr) {
    return FString();
  }
  const WideString text = Platform::FormatWide(WideString(pattern));
  return text.empty() ? FString() : FString(text.c_str());
}

FString FString::Format(const char* pattern) {
  if (pattern == nullptr) {
    return FString();
  }
  // Unlike the narrow construction, which keeps a lone terminator for "", an empty result makes
  // an empty string.
  const std::string text = fmt::vformat(fmt::string_view(pattern), fmt::format_args{});
  return text.empty() ? FString() : FString(text.c_str());
}

FString FString::FromUtf8(const std::string& text) {
  return FString(HostApi::Tools::Utf8Decode(text).c_str());
}

std::string FString::ToUtf8() const {
  return HostApi::Tools::Utf8Encode(WideString(Text()));
}

int32_t FindSubstring(const FString& text, const WideChar* pattern, int32_t ignoreCase,
                      int32_t fromEnd, int32_t start) {
  if (pattern == nullptr) {
    return -1;
  }
  const bool foldCase = ignoreCase == 1;
  const int32_t length = text.Length();
  if (fromEnd != 0) {
    if (foldCase) {
      // Both copies live on the game heap only for this search and go back even if it throws.
      const FString upperText = UpperCaseCopy(text);
      const FString upperPattern = UpperCasePattern(pattern);
      return FindSubstring(upperText, upperPattern.Text(), 0, fromEnd, start);
    }
    const int32_t end = start == -1 || start >= length ? length : start;
    return FindFromEndCaseSensitive(text.Text(), end, pattern);
  }
  if (length == 0 && start >= 0) {
    return -1;
  }
  const int32_t from = start == -1 ? 0 : start < 0 ? 0 : std::min(start, length - 1);
  return foldCase ? FindFromStartIgnoringCase(text.Text(), from, pattern)
                  : FindFromStartCaseSensitive(text.Text(), from, pattern);
}
