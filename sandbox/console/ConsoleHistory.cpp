#include "sandbox/console/ConsoleHistory.h"

#include <cstdlib>

namespace Sandbox {
namespace {

const char* const kFileName = "console-history";
const char* const kStateFolder = "questveto-sandbox";

// Set, not empty and absolute: the XDG base directory convention says to ignore anything else.
bool Usable(const std::optional<std::string>& path) {
  return path && !path->empty() && path->front() == '/';
}

}  // namespace

std::optional<std::string> ProcessEnvironment(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

std::string ConsoleHistoryFile(const std::string& operatorDir, const Environment& environment) {
  if (!operatorDir.empty()) return operatorDir + "/" + kFileName;
  const std::optional<std::string> state = environment("XDG_STATE_HOME");
  if (Usable(state)) return *state + "/" + kStateFolder + "/" + kFileName;
  const std::optional<std::string> home = environment("HOME");
  if (Usable(home)) return *home + "/.local/state/" + kStateFolder + "/" + kFileName;
  return {};
}

}  // namespace Sandbox
