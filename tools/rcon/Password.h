// Where questveto-rcon finds a password when the server list gives none: never on the command
// line, where other users of the machine can read it.
#pragma once

#include <string>

namespace RconTool {

// Holds the password for servers that have none of their own.
constexpr const char* kPasswordVariable = "QUESTVETO_RCON_PASSWORD";

// The password in kPasswordVariable when it is set and not empty; otherwise asked for on the
// terminal without echo, or read as the first line of standard input when that is no terminal.
// std::runtime_error when there is none.
std::string ReadPassword();

}  // namespace RconTool
