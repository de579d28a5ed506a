// The platform layer of the Linux build, over char16_t text. The Windows build gets the same
// operations from the C runtime; this file reproduces what that runtime does in the "C" locale,
// the locale of a process that never calls setlocale, so both builds fold and compare alike
// whatever locale the Linux machine happens to have.
#include <ctime>

#include <fmt/xchar.h>

#include "host/Platform.h"

namespace Platform {
namespace {

// Lower-case form used by CompareNoCase, the inverse of ToUpper: only A-Z fold onto a-z.
WideChar ToLower(WideChar c) {
  return c >= u'A' && c <= u'Z' ? WideChar(c - u'A' + u'a') : c;
}

}  // namespace

// Folds exactly the letters a-z onto A-Z; every other character, accented Latin-1 letters and
// surrogates included, is returned unchanged, as the runtime's towupper in the "C" locale.
WideChar ToUpper(WideChar c) {
  return c >= u'a' && c <= u'z' ? WideChar(c - u'a' + u'A') : c;
}

// Like _wcsnicmp: both sides are lower-cased (A-Z only, consistent with ToUpper) and the first
// difference of the lower-cased characters is returned; a terminator on either side ends the
// comparison. So it is 0 exactly when the first `count` characters agree after ToUpper.
int CompareNoCase(const WideChar* a, const WideChar* b, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const int left = ToLower(a[i]);
    const int right = ToLower(b[i]);
    if (left != right || left == 0) {
      return left - right;
    }
  }
  return 0;
}

const WideChar* FindText(const WideChar* text, const WideChar* pattern) {
  for (;; ++text) {
    std::size_t i = 0;
    while (pattern[i] != 0 && text[i] == pattern[i]) {
      ++i;
    }
    if (pattern[i] == 0) {
      return text;
    }
    if (*text == 0) {
      return nullptr;
    }
  }
}

std::size_t TextLength(const WideChar* text) {
  std::size_t length = 0;
  while (text[length] != 0) {
    ++length;
  }
  return length;
}

int64_t CurrentTime64() {
  return static_cast<int64_t>(std::time(nullptr));
}

WideString FormatWide(const WideString& pattern) {
  return fmt::vformat(fmt::basic_string_view<WideChar>(pattern.data(), pattern.size()),
                      fmt::basic_format_args<fmt::buffer_context<WideChar>>{});
}

}  // namespace Platform
