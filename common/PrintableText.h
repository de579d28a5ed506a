// Text from outside the program (a server's reply, a list or world file, a path) as the operator's
// programs write it: never a byte that a terminal would take as a command (an escape sequence, a
// bell, a carriage return that overwrites the line).
#pragma once

#include <cstddef>
#include <string>

// `text` with each byte that begins no UTF-8 sequence, and each byte of a control character (C0
// but the tab, DEL, C1), written as \x and two upper-case hex digits; the rest unchanged.
std::string Printable(const std::string& text);

// The length of the control character at `offset` of valid UTF-8 `text` (1 or 2), or 0 when none
// begins there.
std::size_t ControlCharacterLength(const std::string& text, std::size_t offset);
