#include "support/FindSubstringModel.h"

#include <algorithm>
#include <cstddef>

namespace {

WideChar Upper(WideChar c) {
  return c >= u'a' && c <= u'z' ? static_cast<WideChar>(c - u'a' + u'A') : c;
}

// The case-ignoring comparison of at most `count` characters; a terminator on either side ends
// it, equal only when both end together.
bool EqualNoCase(const WideChar* a, const WideChar* b, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    if (Upper(a[i]) != Upper(b[i])) return false;
    if (a[i] == 0) return true;
  }
  return true;
}

std::size_t LengthOf(const WideChar* text) {
  std::size_t n = 0;
  while (text[n] != 0) ++n;
  return n;
}

}  // namespace

int32_t ModelFindSubstring(const WideString& text, const WideChar* pattern, int32_t ignoreCase,
                           int32_t fromEnd, int32_t start) {
  if (pattern == nullptr) return -1;
  const int64_t length = static_cast<int64_t>(text.size());
  const WideChar* t = text.c_str();
  const int64_t patternLength = static_cast<int64_t>(LengthOf(pattern));

  if (fromEnd == 0) {
    if (length == 0 && start >= 0) return -1;
    const int64_t from = start < 0 ? 0 : std::min<int64_t>(start, length - 1);
    if (ignoreCase == 1) {
      const WideChar first = Upper(pattern[0]);
      for (int64_t i = from; t[i] != 0; ++i) {
        if (Upper(t[i]) == first &&
            EqualNoCase(t + i + 1, pattern + 1, static_cast<std::size_t>(patternLength - 1))) {
          return static_cast<int32_t>(i);
        }
      }
      return -1;
    }
    // The first occurrence at or after `from`, as wcsstr finds it (an empty pattern at once).
    for (int64_t i = from;; ++i) {
      int64_t j = 0;
      while (j < patternLength && t[i + j] == pattern[j]) ++j;
      if (j == patternLength) return static_cast<int32_t>(i);
      if (t[i] == 0) return -1;
    }
  }

  if (ignoreCase == 1) {
    WideString upperText = text;
    for (WideChar& c : upperText) c = Upper(c);
    WideString upperPattern(pattern);
    for (WideChar& c : upperPattern) c = Upper(c);
    return ModelFindSubstring(upperText, upperPattern.c_str(), 0, fromEnd, start);
  }
  const int64_t end = start == -1 || start >= length ? length : start;
  for (int64_t i = end - std::max<int64_t>(patternLength, 1); i >= 0; --i) {
    int64_t j = 0;
    for (;; ++j) {
      if (pattern[j] == 0) return static_cast<int32_t>(i);
      if (pattern[j] != t[i + j]) break;
    }
  }
  return -1;
}
