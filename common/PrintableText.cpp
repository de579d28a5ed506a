#include "common/PrintableText.h"

#include <fmt/format.h>

#include "rules/Utf8Sequence.h"

std::size_t ControlCharacterLength(const std::string& text, std::size_t offset) {
  const auto lead = static_cast<unsigned char>(text[offset]);
  if ((lead < 0x20 && lead != '\t') || lead == 0x7F) return 1;
  // U+0080 to U+009F: C2 80 to C2 9F.
  if (lead == 0xC2 && offset + 1 < text.size() &&
      static_cast<unsigned char>(text[offset + 1]) <= 0x9F) {
    return 2;
  }
  return 0;
}

std::string Printable(const std::string& text) {
  std::string shown;
  shown.reserve(text.size());
  for (std::size_t offset = 0; offset < text.size();) {
    std::size_t length = ValidSequenceLength(text, offset);
    const std::size_t control = length == 0 ? 1 : ControlCharacterLength(text, offset);
    if (control == 0) {
      shown.append(text, offset, length);
    } else {
      length = control;
      for (std::size_t i = 0; i < length; ++i) {
        shown += fmt::format("\\x{:02X}", static_cast<unsigned char>(text[offset + i]));
      }
    }
    offset += length;
  }
  return shown;
}
