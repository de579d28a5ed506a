#include "tools/configcheck/LetterCase.h"

#include <clocale>
#include <cwctype>

#include "host/FString.h"

namespace {

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
