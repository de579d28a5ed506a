// Where the console typed on a terminal keeps its lines across runs.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace Sandbox {

// The value of an environment variable; no value when it is not set.
using Environment = std::function<std::optional<std::string>(const std::string& name)>;

// The process's own environment.
std::optional<std::string> ProcessEnvironment(const std::string& name);

// The history file for a run: "console-history" in the server directory the operator named
// (`operatorDir`, kept across runs), else in the user's own state directory, which outlives a
// fresh server directory: $XDG_STATE_HOME/questveto-sandbox, or, when that is unset, empty or not
// absolute, $HOME/.local/state/questveto-sandbox. Empty when there is neither (no HOME).
std::string ConsoleHistoryFile(const std::string& operatorDir, const Environment& environment);

}  // namespace Sandbox
