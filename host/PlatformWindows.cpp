// The platform layer of the Windows build: wchar_t is the engine's 16-bit character, and the C
// runtime supplies case folding, comparison, search and time in the process's current locale.
#include <string.h>
#include <time.h>
#include <wchar.h>
#include <cwctype>

#include <fmt/xchar.h>

#include "host/Platform.h"

namespace Platform {

WideChar ToUpper(WideChar c) {
  return static_cast<WideChar>(towupper(c));
}

int CompareNoCase(const WideChar* a, const WideChar* b, std::size_t count) {
  return _wcsnicmp(a, b, count);
}

const WideChar* FindText(const WideChar* text, const WideChar* pattern) {
  return wcsstr(text, pattern);
}

std::size_t TextLength(const WideChar* text) {
  return wcslen(text);
}

int64_t CurrentTime64() {
  return static_cast<int64_t>(_time64(nullptr));
}

WideString FormatWide(const WideString& pattern) {
  return fmt::vformat(fmt::wstring_view(pattern.data(), pattern.size()), fmt::wformat_args{});
}

}  // namespace Platform
