// UTF-8 as the check reads and shows it: where a text stops being valid UTF-8, its code points,
// Unicode's white space, and text with its invalid bytes written out as \xE9, so that no raw byte
// of a damaged file reaches a terminal or a JSON report.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "rules/Utf8Sequence.h"
#include "common/Utf16Text.h"

// The code point of the valid sequence of `length` bytes at `offset`.
char32_t CodePointAt(const std::string& text, std::size_t offset, std::size_t length);

// Offset of the first byte of `text` that begins no valid sequence; none for valid UTF-8.
std::optional<std::size_t> FirstInvalidByte(const std::string& text);

// `text` with every byte that begins no valid sequence written as \x and two upper-case hex
// digits; valid text comes back unchanged.
std::string EscapeInvalidBytes(const std::string& text);

// White space by Unicode's White_Space property (tab to carriage return, space, U+0085, U+00A0,
// U+1680, U+2000 to U+200A, U+2028, U+2029, U+202F, U+205F, U+3000), and the invisible U+200B and
// U+FEFF that copied names bring along as well.
bool IsUnicodeWhiteSpace(char32_t c);

// "U+00A0": how findings name a code point.
std::string CodePointName(char32_t c);
