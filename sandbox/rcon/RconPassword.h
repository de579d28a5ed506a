// Where the RCON listener's password comes from. The command line is the one place other users of
// the machine can read it (ps), so a file or the environment can hold it instead.
#pragma once

#include <string>

#include "sandbox/console/ConsoleHistory.h"

namespace Sandbox {

// The environment variable that holds the password when neither option gives one.
inline constexpr const char* kRconPasswordVariable = "QUESTVETO_SANDBOX_RCON_PASSWORD";

// The password of `--rcon-password` when given (not empty), else the first line of the file of
// `--rcon-password-file` when given (a UTF-8 byte order mark and the line break dropped), else the
// value of kRconPasswordVariable. Throws std::runtime_error saying why when the file cannot be
// read or holds no password on its first line, or when none of the three gives one.
std::string RconPassword(const std::string& fromCommandLine, const std::string& file,
                         const Environment& environment);

}  // namespace Sandbox
