// The servers questveto-rcon talks to: one given on the command line, or every server of a list
// file, one a line:
//   <name> <host>:<port> [<password>]
// Blank lines and lines starting with '#' are skipped; the password is the rest of the line
// after the address, without the blanks around it. A server without one gets the password the
// program reads from the environment or asks for. A byte order mark and Windows line ends are
// accepted.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace RconTool {

struct ServerEntry {
  std::string Name;
  std::string Host;
  uint16_t Port = 0;
  std::optional<std::string> Password;
};

// `text` as "<host>:<port>" (an IPv6 address in brackets); std::invalid_argument saying what is
// wrong otherwise. The name is the text itself.
ServerEntry ParseServerAddress(const std::string& text);

// The entries of the list file `text` read from `path`, in order; std::invalid_argument naming
// the file and line of the first fault (a missing address, a bad port, a name given twice, no
// server at all).
std::vector<ServerEntry> ParseServerList(const std::string& text, const std::string& path);

}  // namespace RconTool
