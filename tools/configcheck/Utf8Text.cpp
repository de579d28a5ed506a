#include "tools/configcheck/Utf8Text.h"

#include <fmt/format.h>

char32_t CodePointAt(const std::string& text, std::size_t offset, std::size_t length) {
  static constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  char32_t c = static_cast<unsigned char>(text[offset]) & kLeadBits[length];
  for (std::size_t i = 1; i < length; ++i) {
    c = (c << 6) | (static_cast<unsigned char>(text[offset + i]) & 0x3F);
  }
  return c;
}

std::optional<std::size_t> FirstInvalidByte(const std::string& text) {
  for (std::size_t offset = 0; offset < text.size();) {
    const std::size_t length = ValidSequenceLength(text, offset);
    if (length == 0) return offset;
    offset += length;
  }
  return std::nullopt;
}

std::string EscapeInvalidBytes(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (std::size_t offset = 0; offset < text.size();) {
    const std::size_t length = ValidSequenceLength(text, offset);
    if (length == 0) {
      escaped += fmt::format("\\x{:02X}", static_cast<unsigned char>(text[offset]));
      ++offset;
    } else {
      escaped.append(text, offset, length);
      offset += length;
    }
  }
  return escaped;
}

bool IsUnicodeWhiteSpace(char32_t c) {
  return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200B) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
         c == 0x3000 || c == 0xFEFF;
}

std::string CodePointName(char32_t c) {
  return fmt::format("U+{:04X}", static_cast<uint32_t>(c));
}
