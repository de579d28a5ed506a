#include "common/Utf8.h"

#include <cstdint>

namespace Text {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Writes `code` at `out` as one or two UTF-16 units and answers the position after them.
WideChar* PutUtf16(WideChar* out, char32_t code) {
  if (code >= 0x10000) {
    code -= 0x10000;
    *out++ = static_cast<WideChar>(0xD800 + (code >> 10));
    *out++ = static_cast<WideChar>(0xDC00 + (code & 0x3FF));
  } else {
    *out++ = static_cast<WideChar>(code);
  }
  return out;
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

// Valid range of the second byte after lead byte `lead` (Unicode's table of well-formed
// sequences); the remaining continuation bytes are always 80..BF.
bool SecondByteFits(uint8_t lead, uint8_t byte) {
  switch (lead) {
    case 0xE0:
      return byte >= 0xA0 && byte <= 0xBF;
    case 0xED:
      return byte >= 0x80 && byte <= 0x9F;
    case 0xF0:
      return byte >= 0x90 && byte <= 0xBF;
    case 0xF4:
      return byte >= 0x80 && byte <= 0x8F;
    default:
      return byte >= 0x80 && byte <= 0xBF;
  }
}

int SequenceLength(uint8_t lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;  // a continuation byte, C0, C1 or F5..FF: never a lead
}

}  // namespace

WideString DecodeUtf8(const std::string& text) {
  // No sequence gives more UTF-16 units than it has bytes, so the text's size is room enough.
  WideString out(text.size(), WideChar(0));
  WideChar* put = out.data();
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const std::size_t size = text.size();
  std::size_t i = 0;
  while (i < size) {
    const uint8_t lead = bytes[i];
    if (lead < 0x80) {
      *put++ = static_cast<WideChar>(lead);
      ++i;
      continue;
    }
    const int length = SequenceLength(lead);
    // Two-byte sequences (Latin, Greek, Cyrillic...) have no exception to their continuation
    // byte's range: decoded in one step.
    if (length == 2 && i + 1 < size && (bytes[i + 1] & 0xC0) == 0x80) {
      *put++ = static_cast<WideChar>(((lead & 0x1F) << 6) | (bytes[i + 1] & 0x3F));
      i += 2;
      continue;
    }
    if (length == 0) {
      *put++ = static_cast<WideChar>(kReplacement);
      ++i;
      continue;
    }
    char32_t code = lead & (0xFF >> (length + 1));
    int taken = 1;
    for (; taken < length && i + taken < size; ++taken) {
      const uint8_t byte = bytes[i + taken];
      const bool fits = taken == 1 ? SecondByteFits(lead, byte) : (byte & 0xC0) == 0x80;
      if (!fits) break;
      code = (code << 6) | (byte & 0x3F);
    }
    // A sequence cut short is one maximal malformed subsequence: one replacement for all of it.
    put = PutUtf16(put, taken == length ? code : kReplacement);
    i += taken;
  }
  out.resize(static_cast<std::size_t>(put - out.data()));
  return out;
}

std::string EncodeUtf8(const WideString& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t unit = static_cast<char16_t>(text[i]);
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size()) {
      const char32_t next = static_cast<char16_t>(text[i + 1]);
      if (next >= 0xDC00 && next <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
        ++i;
        continue;
      }
    }
    AppendUtf8(out, unit >= 0xD800 && unit <= 0xDFFF ? kReplacement : unit);
  }
  return out;
}

}  // namespace Text
