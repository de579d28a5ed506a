// Well-formed UTF-8 by the byte: what the log's escaping and the config checker's reports take as
// text and what they write out as \xHH.
#pragma once

#include <cstddef>
#include <string>

// Bytes in the well-formed UTF-8 sequence that begins at `offset` (1 to 4), or 0 when none begins
// there: a continuation byte, a truncated or overlong sequence, an encoded surrogate, a value
// above U+10FFFF, or `offset` at or past the end.
std::size_t ValidSequenceLength(const std::string& text, std::size_t offset);
