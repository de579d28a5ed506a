#include "tools/rcon/ServerList.h"

#include <algorithm>
#include <map>
#include <sstream>

#include <fmt/format.h>

#include "rules/Utf8Sequence.h"
#include "common/Utf16Text.h"
#include "common/PrintableText.h"

namespace RconTool {
namespace {

constexpr const char* kBlanks = " \t";
constexpr const char* kLineForm = "a line is <name> <host>:<port> [<password>]";

// What is wrong at byte `Offset` of a line, said without its text.
struct LineFault {
  std::size_t Offset;
  std::string What;
};

// An address that is not <host>:<port>, said without its text.
struct AddressFault {
  std::string What;
};

struct Address {
  std::string Host;
  uint16_t Port;
};

Address ParseAddress(const std::string& text) {
  const auto colon = text.rfind(':');
  if (colon == std::string::npos) throw AddressFault{"no ':' before the port"};
  std::string host = text.substr(0, colon);
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
    host = host.substr(1, host.size() - 2);
  }
  if (host.empty()) throw AddressFault{"no host before the port"};
  const std::string port = text.substr(colon + 1);
  if (port.empty() || port.size() > 5 ||
      port.find_first_not_of("0123456789") != std::string::npos) {
    throw AddressFault{"the port is not a number"};
  }
  const int number = std::stoi(port);
  if (number < 1 || number > 65535) throw AddressFault{"the port is outside 1..65535"};
  return {host, static_cast<uint16_t>(number)};
}

// The column, in characters from 1, of byte `offset` of `line`.
std::size_t ColumnOf(const std::string& line, std::size_t offset) {
  std::size_t column = 1;
  for (std::size_t i = 0; i < offset; i += std::max<std::size_t>(1, ValidSequenceLength(line, i))) {
    ++column;
  }
  return column;
}

// Throws LineFault at the first byte of `line` that is no text.
void CheckText(const std::string& line) {
  for (std::size_t offset = 0; offset < line.size();) {
    const std::size_t length = ValidSequenceLength(line, offset);
    if (length == 0) {
      throw LineFault{offset,
                      "not UTF-8 text: save the list as UTF-8, or as UTF-16 (Notepad's "
                      "\"Unicode\")"};
    }
    if (ControlCharacterLength(line, offset) != 0) {
      throw LineFault{offset, "a control character: the list holds text only"};
    }
    offset += length;
  }
}

struct Word {
  std::size_t Offset;
  std::string Text;
};

// The word of `line` that begins at or after `from`; its offset is the line's size when none.
Word WordFrom(const std::string& line, std::size_t from) {
  const auto first = line.find_first_not_of(kBlanks, from);
  if (first == std::string::npos) return {line.size(), {}};
  const auto end = line.find_first_of(kBlanks, first);
  return {first, line.substr(first, end == std::string::npos ? std::string::npos : end - first)};
}

// The server of a line holding more than blanks; `seen` maps each name to its line so far.
ServerEntry ParseLine(const std::string& line, int number, std::map<std::string, int>& seen) {
  CheckText(line);
  const Word name = WordFrom(line, 0);
  const Word address = WordFrom(line, name.Offset + name.Text.size());
  const auto isAddress = [](const std::string& text) {
    try {
      ParseAddress(text);
      return true;
    } catch (const AddressFault&) {
      return false;
    }
  };
  if (isAddress(name.Text) && !isAddress(address.Text)) {
    throw LineFault{name.Offset, fmt::format("the line begins with an address; {}", kLineForm)};
  }
  if (address.Text.empty()) {
    throw LineFault{address.Offset, fmt::format("no <host>:<port> after the name; {}", kLineForm)};
  }
  ServerEntry server;
  try {
    Address parsed = ParseAddress(address.Text);
    server.Host = std::move(parsed.Host);
    server.Port = parsed.Port;
  } catch (const AddressFault& fault) {
    throw LineFault{address.Offset, "the address is not <host>:<port>: " + fault.What};
  }
  server.Name = name.Text;
  const std::size_t rest = address.Offset + address.Text.size();
  if (const auto first = line.find_first_not_of(kBlanks, rest); first != std::string::npos) {
    server.Password = line.substr(first, line.find_last_not_of(kBlanks) - first + 1);
  }
  if (const auto [earlier, added] = seen.emplace(server.Name, number); !added) {
    throw LineFault{name.Offset,
                    fmt::format("the name is given already at line {}", earlier->second)};
  }
  return server;
}

// The list's text as UTF-8, whatever of the encodings Windows editors save it in.
std::string DecodedText(const std::string& bytes) {
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return bytes.substr(3);
  if (LooksLikeUtf16(bytes)) return Utf16ToUtf8(bytes);
  return bytes;
}

}  // namespace

ServerEntry ParseServerAddress(const std::string& text) {
  try {
    Address address = ParseAddress(text);
    return {text, std::move(address.Host), address.Port, std::nullopt};
  } catch (const AddressFault& fault) {
    throw std::invalid_argument(
        fmt::format("'{}' is not <host>:<port>: {}", Printable(text), fault.What));
  }
}

std::vector<ServerEntry> ParseServerList(const std::string& bytes, const std::string& path) {
  std::istringstream lines(DecodedText(bytes));
  std::vector<ServerEntry> servers;
  std::map<std::string, int> seen;
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto first = line.find_first_not_of(kBlanks);
    if (first == std::string::npos || line[first] == '#') continue;
    try {
      servers.push_back(ParseLine(line, number, seen));
    } catch (const LineFault& fault) {
      throw ServerListError(fmt::format("{}:{}:{}: {}", Printable(path), number,
                                        ColumnOf(line, fault.Offset), fault.What));
    }
  }
  if (servers.empty()) throw ServerListError(fmt::format("{}: lists no server", Printable(path)));
  return servers;
}

}  // namespace RconTool
