// questveto-rcon's server list on any file an operator's editor, a broken disk or a hostile user
// may leave. A list is either read, or refused with an error that names the line and column and
// says what is wrong in one of the parser's own sentences, so that no text of the file (which may
// hold passwords) ever reaches the message. A list read must hold usable servers only, and the
// same servers written back as a list, in UTF-8 with or without a byte order mark or in UTF-16 of
// either byte order, must read as the same servers again.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzEntry.h"
#include "common/Utf8.h"
#include "common/PrintableText.h"
#include "tools/rcon/ServerList.h"

namespace {

using RconTool::ServerEntry;

constexpr std::string_view kPath = "servers.txt";

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "fuzz_server_list: %s\n", what.c_str());
  std::abort();
}

void Require(bool holds, const std::string& what) {
  if (!holds) Fail(what);
}

// What a fault of a line may say after "<path>:<line>:<column>: ", word for word: the reference
// against which a message carrying any text of the list shows.
bool IsFaultSentence(const std::string& text, int line) {
  static const std::set<std::string> sentences = {
      "not UTF-8 text: save the list as UTF-8, or as UTF-16 (Notepad's \"Unicode\")",
      "a control character: the list holds text only",
      "the line begins with an address; a line is <name> <host>:<port> [<password>]",
      "no <host>:<port> after the name; a line is <name> <host>:<port> [<password>]",
      "the address is not <host>:<port>: no ':' before the port",
      "the address is not <host>:<port>: no host before the port",
      "the address is not <host>:<port>: the port is not a number",
      "the address is not <host>:<port>: the port is outside 1..65535",
  };
  if (sentences.count(text) != 0) return true;
  constexpr std::string_view kGivenAlready = "the name is given already at line ";
  if (text.compare(0, kGivenAlready.size(), kGivenAlready) != 0) return false;
  const std::string earlier = text.substr(kGivenAlready.size());
  if (earlier.empty() || earlier.find_first_not_of("0123456789") != std::string::npos ||
      earlier.size() > 9) {
    return false;
  }
  const int number = std::stoi(earlier);
  return number >= 1 && number < line;
}

// A positive decimal number of at most 9 digits at the start of `text`, which `at` then passes.
int NumberAt(const std::string& text, std::size_t& at) {
  const std::size_t end = text.find_first_not_of("0123456789", at);
  Require(end != std::string::npos && end > at && end - at <= 9,
          "an error without a line and column: " + text);
  const int number = std::stoi(text.substr(at, end - at));
  at = end;
  return number;
}

void CheckError(const std::string& message, std::size_t inputSize) {
  Require(Printable(message) == message, "an error that is not printable: " + Printable(message));
  const std::string prefix = std::string(kPath) + ":";
  Require(message.compare(0, prefix.size(), prefix) == 0, "an error not naming the file: " +
                                                              message);
  if (message == prefix + " lists no server") return;
  std::size_t at = prefix.size();
  const int line = NumberAt(message, at);
  Require(message.compare(at, 1, ":") == 0, "an error without a column: " + message);
  ++at;
  const int column = NumberAt(message, at);
  Require(message.compare(at, 2, ": ") == 0, "an error without a column: " + message);
  // A line and a column can lie no further into the file than its bytes.
  Require(line >= 1 && static_cast<std::size_t>(line) <= inputSize + 1,
          "an error naming a line the file does not have: " + message);
  Require(column >= 1 && static_cast<std::size_t>(column) <= inputSize + 1,
          "an error naming a column the line does not have: " + message);
  Require(IsFaultSentence(message.substr(at + 2), line),
          "an error saying more than the parser's own words: " + message);
}

bool HasOuterBlank(const std::string& text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  return text.empty() || blank(text.front()) || blank(text.back());
}

void CheckServers(const std::vector<ServerEntry>& servers) {
  Require(!servers.empty(), "a list read without a server");
  std::set<std::string> names;
  for (const ServerEntry& server : servers) {
    Require(!HasOuterBlank(server.Name) && server.Name.find_first_of(" \t") == std::string::npos,
            "a name that is not one word");
    Require(server.Name[0] != '#', "a comment read as a server");
    Require(names.insert(server.Name).second, "a name read twice");
    Require(!server.Host.empty(), "a server without a host");
    Require(server.Port != 0, "a server on port 0");
    for (const std::string* text : {&server.Name, &server.Host}) {
      Require(Printable(*text) == *text, "a control character or non-UTF-8 byte read as text");
    }
    if (server.Password) {
      Require(!HasOuterBlank(*server.Password), "a password with blanks around it");
      Require(Printable(*server.Password) == *server.Password,
              "a control character or non-UTF-8 byte read into a password");
    }
  }
}

// `servers` written back as a list, with a comment, blank lines and Windows line ends between.
std::string ListOf(const std::vector<ServerEntry>& servers) {
  std::string text = "# written back\r\n\r\n";
  for (const ServerEntry& server : servers) {
    const bool bracketed = server.Host.find(':') != std::string::npos ||
                           (server.Host.front() == '[' && server.Host.back() == ']');
    text += server.Name + "\t" + (bracketed ? "[" + server.Host + "]" : server.Host) + ":" +
            std::to_string(server.Port);
    if (server.Password) text += "  " + *server.Password;
    text += "\r\n";
  }
  return text;
}

// `text` as UTF-16 with the byte order mark, as Windows editors save it.
std::string Utf16Of(const std::string& text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const WideChar unit : Text::DecodeUtf8(text)) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

void CheckWrittenBack(const std::vector<ServerEntry>& servers) {
  const std::string list = ListOf(servers);
  const std::string encodings[] = {list, "\xEF\xBB\xBF" + list, Utf16Of(list, false),
                                   Utf16Of(list, true)};
  for (const std::string& bytes : encodings) {
    std::vector<ServerEntry> again;
    try {
      again = RconTool::ParseServerList(bytes, std::string(kPath));
    } catch (const RconTool::ServerListError& error) {
      Fail(std::string("servers read from a list refuse to be read again: ") + error.what());
    }
    Require(again.size() == servers.size(), "servers written back read as a different number");
    for (std::size_t i = 0; i < servers.size(); ++i) {
      Require(again[i].Name == servers[i].Name && again[i].Host == servers[i].Host &&
                  again[i].Port == servers[i].Port && again[i].Password == servers[i].Password,
              "a server written back reads differently");
    }
  }
}

void RunInput(const uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::vector<ServerEntry> servers;
  try {
    servers = RconTool::ParseServerList(bytes, std::string(kPath));
  } catch (const RconTool::ServerListError& error) {
    CheckError(error.what(), size);
    return;
  }
  CheckServers(servers);
  CheckWrittenBack(servers);
}

// The single address of the command line: its error quotes the operator's own text, printably.
void CheckAddress(const uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    RconTool::ParseServerAddress(text.substr(0, text.find('\n')));
  } catch (const std::invalid_argument& error) {
    const std::string message = error.what();
    Require(Printable(message) == message, "an address error that is not printable: " +
                                               Printable(message));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  return Fuzz::RunOneInput(
      [&] {
        RunInput(data, size);
        CheckAddress(data, size);
      },
      Fail);
}
