#include "plugin/LogText.h"

#include <fmt/format.h>

#include "rules/Utf8Sequence.h"

std::string EscapeForLog(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    const auto next = [&](std::size_t k) { return static_cast<unsigned char>(utf8[i + k]); };
    // 0 for a byte that is no UTF-8: neither ASCII nor the lead of a well-formed sequence.
    const std::size_t length = ValidSequenceLength(utf8, i);
    if (byte == '\n') {
      out += "\\n";
    } else if (byte == '\r') {
      out += "\\r";
    } else if (byte == '\t') {
      out += "\\t";
    } else if (byte < 0x20 || byte == 0x7F || length == 0) {
      out += fmt::format("\\x{:02X}", byte);
    } else if (byte == 0xC2 && next(1) <= 0x9F) {  // U+0080..U+009F
      out += fmt::format("\\u{:04X}", next(1));
      i += 1;
    } else if (byte == 0xE2 && next(1) == 0x80 && (next(2) == 0xA8 || next(2) == 0xA9)) {
      out += fmt::format("\\u{:04X}", 0x2000 + (next(2) - 0x80));  // U+2028, U+2029
      i += 2;
    } else {
      out.append(utf8, i, length);
      i += length - 1;
    }
  }
  return out;
}
