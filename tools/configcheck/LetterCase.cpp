#include "tools/configcheck/LetterCase.h"

#include <clocale>
#include <cwctype>
#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

#include "host/FString.h"

namespace {

#if defined(_WIN32)
// Unicode case mappings, as the system's invariant locale has them.
wint_t MapCase(wint_t c, DWORD mapping) {
  const wchar_t letter = static_cast<wchar_t>(c);
  wchar_t mapped = letter;
  return LCMapStringEx(LOCALE_NAME_INVARIANT, mapping, &letter, 1, &mapped, 1, nullptr, nullptr,
                       0) == 1
             ? mapped
             : c;
}

bool HasCase(wint_t c) {
  return MapCase(c, LCMAP_UPPERCASE) != c || MapCase(c, LCMAP_LOWERCASE) != c;
}
#else
// Unicode case mappings, whatever the locale of the process running the check.
locale_t UnicodeCaseMappings() {
  static const locale_t mappings = [] {
    locale_t found = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    return found != nullptr ? found : newlocale(LC_CTYPE_MASK, "C.utf8", found);
  }();
  return mappings;
}

bool HasCase(wint_t c) {
  const locale_t mappings = UnicodeCaseMappings();
  // Without the mappings every letter beyond ASCII is taken to have a case: a warning too many
  // rather than one missed.
  if (mappings == nullptr) return true;
  return towupper_l(c, mappings) != c || towlower_l(c, mappings) != c;
}
#endif

}  // namespace

std::optional<std::string> FirstLetterWithCaseOutsideAscii(const std::string& text) {
  const FString decoded = FString::FromUtf8(text);
  for (int32_t i = 0; i < decoded.Length(); ++i) {
    const auto c = static_cast<wint_t>(decoded.Chars[i]);
    const bool surrogate = c >= 0xD800 && c <= 0xDFFF;  // letters beyond the 16-bit range
    if (c < 0x80 || surrogate || !HasCase(c)) continue;
    const WideChar letter[2] = {decoded.Chars[i], 0};
    return FString(letter).ToUtf8();
  }
  return std::nullopt;
}
