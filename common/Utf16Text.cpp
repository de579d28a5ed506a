#include "common/Utf16Text.h"

#include "host-bridge/Platform.h"
#include "common/Utf8.h"

bool LooksLikeUtf16(const std::string& text) {
  if (text.compare(0, 2, "\xFF\xFE") == 0 || text.compare(0, 2, "\xFE\xFF") == 0) return true;
  return text.size() >= 2 && (text[0] == '\0' || text[1] == '\0');
}

std::string Utf16ToUtf8(const std::string& text) {
  const bool bigEndian = text.compare(0, 2, "\xFE\xFF") == 0 || (!text.empty() && text[0] == '\0');
  const bool mark = text.compare(0, 2, "\xFF\xFE") == 0 || text.compare(0, 2, "\xFE\xFF") == 0;
  WideString wide;
  wide.reserve(text.size() / 2);
  for (std::size_t i = mark ? 2 : 0; i + 1 < text.size(); i += 2) {
    const auto first = static_cast<unsigned char>(text[i]);
    const auto second = static_cast<unsigned char>(text[i + 1]);
    wide.push_back(
        static_cast<WideChar>(bigEndian ? (first << 8) | second : (second << 8) | first));
  }
  return Text::EncodeUtf8(wide);
}
