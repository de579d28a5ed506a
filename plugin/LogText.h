// Text from players, files and the host written into log lines.
#pragma once

#include <string>

// `utf8` with every control character escaped, so that a name cannot start a line of its own or
// rewrite the one it is in: \n, \r and \t by name, other C0 characters and DEL as \xHH, C1
// characters and the Unicode line and paragraph separators as \uHHHH, and each byte that is not
// part of well-formed UTF-8 as \xHH, so that the log stays valid UTF-8. Everything else, non-ASCII
// letters included, is kept as it is.
std::string EscapeForLog(const std::string& utf8);
