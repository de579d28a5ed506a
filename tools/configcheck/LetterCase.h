// Which letters of a mission name part keep their case in the plugin's search: it ignores the case
// of A-Z only (as the Windows runtime does in the "C" locale plugins run in), so "Охота" and
// "ОХОТА" are different texts to it.
#pragma once

#include <optional>
#include <string>

// The first letter of UTF-8 `text` that has an upper- and a lower-case form and is not one of
// A-Z or a-z, as UTF-8; none when every such letter is ASCII.
std::optional<std::string> FirstLetterWithCaseOutsideAscii(const std::string& text);
