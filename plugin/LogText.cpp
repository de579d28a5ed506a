#include "plugin/LogText.h"

#include <fmt/format.h>

namespace {

bool Continuation(unsigned char byte) {
  return byte >= 0x80 && byte <= 0xBF;
}

// The length of the well-formed UTF-8 sequence of more than one byte that begins at `i`, 0 when
// there is none: no overlong form, no surrogate, nothing above U+10FFFF.
std::size_t SequenceLength(const std::string& text, std::size_t i) {
  const auto at = [&](std::size_t k) {
    return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0;
  };
  const unsigned char lead = at(0);
  std::size_t length = 0;
  unsigned char low = 0x80;  // the range of the byte after the lead
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (at(1) < low || at(1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k) {
    if (!Continuation(at(k))) return 0;
  }
  return length;
}

}  // namespace

std::string EscapeForLog(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    const auto next = [&](std::size_t k) { return static_cast<unsigned char>(utf8[i + k]); };
    // 0 for a byte that is no UTF-8: neither ASCII nor the lead of a well-formed sequence.
    const std::size_t length = byte < 0x80 ? 1 : SequenceLength(utf8, i);
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
