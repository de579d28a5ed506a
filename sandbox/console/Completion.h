// Tab completion of a console line: which texts can finish the argument under the cursor. Kept
// apart from the line editor, so that the rules hold whatever reads the keys.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace Sandbox {

// The names a console line is made of.
struct ConsoleNames {
  std::vector<std::string> Commands;    // the console's own commands and those plugins registered
  std::vector<std::string> Registered;  // the commands plugins registered
  std::vector<std::string> Players;
  std::vector<std::string> Missions;  // may hold blanks: a mission name is the rest of the line
};

struct Completion {
  std::size_t Start = 0;                // where the argument being completed begins in the line
  std::vector<std::string> Candidates;  // whole arguments that begin with the text typed so far
  bool RestOfLine = false;              // the argument runs to the end of the line
};

// The completions of `beforeCursor`, the line up to the cursor: a command as the first word; a
// player after "start", "kill", "revive", "data", "messages" and "as"; a mission after
// "start <player>"; a registered command after "as <player>". Nothing anywhere else.
Completion CompleteConsoleLine(const std::string& beforeCursor, const ConsoleNames& names);

}  // namespace Sandbox
