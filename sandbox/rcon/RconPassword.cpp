#include "sandbox/rcon/RconPassword.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include <fmt/format.h>

#include "host-bridge/Platform.h"

namespace Sandbox {
namespace {

std::string FirstLineOf(const std::string& path) {
  std::ifstream file;
  Platform::OpenForReading(file, path, std::ios::binary);
  if (!file.is_open()) {
    throw std::runtime_error(
        fmt::format("cannot read the RCON password file {}: {}", path, std::strerror(errno)));
  }
  std::string line;
  std::getline(file, line);
  if (line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.find('\0') != std::string::npos) {
    throw std::runtime_error(fmt::format(
        "the RCON password file {} is not UTF-8 text (saved as UTF-16?): save it as UTF-8", path));
  }
  if (line.empty()) {
    throw std::runtime_error(
        fmt::format("the RCON password file {} holds no password on its first line", path));
  }
  return line;
}

}  // namespace

std::string RconPassword(const std::string& fromCommandLine, const std::string& file,
                         const Environment& environment) {
  if (!fromCommandLine.empty()) return fromCommandLine;
  if (!file.empty()) return FirstLineOf(file);
  if (const auto value = environment(kRconPasswordVariable); value && !value->empty()) {
    return *value;
  }
  throw std::runtime_error(
      fmt::format("RCON needs a password: give --rcon-password-file FILE, set {} or give "
                  "--rcon-password",
                  kRconPasswordVariable));
}

}  // namespace Sandbox
