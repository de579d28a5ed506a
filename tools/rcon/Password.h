// Where questveto-rcon finds a password when the server list gives none: never on the command
// line, where other users of the machine can read it.
#pragma once

#include <string>

namespace RconTool {

// Holds the password for servers that have none of their own.
constexpr const char* kPasswordVariable = "QUESTVETO_RCON_PASSWORD";

// With `fromStandardInput`, the first line of standard input (asked for explicitly, it comes
// before the environment); otherwise the password in kPasswordVariable when it is set and not
// empty; otherwise the one typed at the terminal on standard input, asked for without echo. The
// terminal gets its mode back on every way out of the prompt: Enter, end of input (Ctrl-D, Ctrl-Z
// on Windows), Ctrl-C and the signals that end the program. std::runtime_error when there is none,
// at once when standard input is no terminal and it was not asked to read it, so that nothing waits
// for a password that cannot come.
std::string ReadPassword(bool fromStandardInput);

}  // namespace RconTool
