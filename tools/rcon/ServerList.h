// The servers questveto-rcon talks to: one given on the command line, or every server of a list
// file, one a line:
//   <name> <host>:<port> [<password>]
// Blank lines and lines starting with '#' are skipped; the password is the rest of the line
// after the address, without the blanks around it. A server without one gets the password the
// program reads from the environment or asks for. The file is UTF-8, with or without a byte order
// mark, or UTF-16 as Windows editors save it; Windows line ends are accepted.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
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

// A fault of a list file. Its message names the file, the line and the column (in characters,
// from 1) and what is wrong there, never the text of the line, which may hold a password.
class ServerListError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// The entries of the list file whose bytes are `bytes`, read from `path`, in order;
// ServerListError for the first fault (bytes that are not text, a missing or bad address, a
// name given twice, no server at all).
std::vector<ServerEntry> ParseServerList(const std::string& bytes, const std::string& path);

}  // namespace RconTool
