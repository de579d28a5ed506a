// Text files as Windows editors save them: UTF-16 (Notepad's "Unicode"), read as UTF-8.
#pragma once

#include <string>

// Whether `text` looks saved as UTF-16: a byte order mark, or a 0 byte among the first two, which
// every ASCII character of UTF-16 text comes with.
bool LooksLikeUtf16(const std::string& text);

// UTF-16 `text` (little-endian unless it begins with the big-endian byte order mark or with a
// 0 byte) as UTF-8, by the host's conversion; a byte order mark is dropped, an odd last byte
// ignored and an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const std::string& text);
