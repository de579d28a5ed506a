// UTF-8 to and from the engine's 16-bit text, as the host's Tools offer it.
// Decoding replaces each maximal malformed subsequence (a stray continuation byte, a truncated
// sequence, an overlong form, an encoded surrogate, a value above U+10FFFF, the bytes C0, C1 and
// F5..FF) with one U+FFFD, the practice Unicode recommends; encoding replaces an unpaired
// surrogate with U+FFFD. Valid text round-trips unchanged, supplementary characters as pairs.
#pragma once

#include <string>

#include "host-bridge/Platform.h"

namespace Text {

WideString DecodeUtf8(const std::string& text);
std::string EncodeUtf8(const WideString& text);

}  // namespace Text
