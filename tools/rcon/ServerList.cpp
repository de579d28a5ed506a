#include "tools/rcon/ServerList.h"

#include <set>
#include <sstream>
#include <stdexcept>

#include <fmt/format.h>

namespace RconTool {
namespace {

constexpr const char* kBlanks = " \t\r";

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

uint16_t ParsePort(const std::string& text) {
  if (text.empty() || text.size() > 5 ||
      text.find_first_not_of("0123456789") != std::string::npos) {
    throw std::invalid_argument(fmt::format("port '{}' is not a number", text));
  }
  const int port = std::stoi(text);
  if (port < 1 || port > 65535) {
    throw std::invalid_argument(fmt::format("port {} is outside 1..65535", port));
  }
  return static_cast<uint16_t>(port);
}

}  // namespace

ServerEntry ParseServerAddress(const std::string& text) {
  const auto colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0) {
    throw std::invalid_argument(fmt::format("'{}' is not <host>:<port>", text));
  }
  std::string host = text.substr(0, colon);
  if (host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
  if (host.empty()) throw std::invalid_argument(fmt::format("'{}' names no host", text));
  return {text, host, ParsePort(text.substr(colon + 1)), std::nullopt};
}

std::vector<ServerEntry> ParseServerList(const std::string& text, const std::string& path) {
  std::istringstream lines(text.rfind("\xEF\xBB\xBF", 0) == 0 ? text.substr(3) : text);
  std::vector<ServerEntry> servers;
  std::set<std::string> names;
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    const std::string content = Trimmed(line);
    if (content.empty() || content.front() == '#') continue;
    try {
      const auto nameEnd = content.find_first_of(kBlanks);
      if (nameEnd == std::string::npos) {
        throw std::invalid_argument(fmt::format("'{}' has no <host>:<port>", content));
      }
      const std::string rest = Trimmed(content.substr(nameEnd));
      const auto addressEnd = rest.find_first_of(kBlanks);
      ServerEntry server = ParseServerAddress(rest.substr(0, addressEnd));
      server.Name = content.substr(0, nameEnd);
      if (addressEnd != std::string::npos) server.Password = Trimmed(rest.substr(addressEnd));
      if (!names.insert(server.Name).second) {
        throw std::invalid_argument(fmt::format("the name {} is given twice", server.Name));
      }
      servers.push_back(std::move(server));
    } catch (const std::invalid_argument& error) {
      throw std::invalid_argument(fmt::format("{}:{}: {}", path, number, error.what()));
    }
  }
  if (servers.empty()) throw std::invalid_argument(fmt::format("{}: lists no server", path));
  return servers;
}

}  // namespace RconTool
