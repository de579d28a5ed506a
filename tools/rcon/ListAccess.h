// Whether a list file that holds passwords is kept from the machine's other users, as ssh asks of
// a private key.
#pragma once

#include <optional>
#include <string>

namespace RconTool {

// A warning, without a leading "warning: ", when users other than the file's owner (and, on
// Windows, the system and the administrators) can read the file at `path`: who can, and how to
// make it the owner's alone. Also a warning when that cannot be told, saying why. None when only
// its owner can read it.
std::optional<std::string> ReadableByOthers(const std::string& path);

}  // namespace RconTool
