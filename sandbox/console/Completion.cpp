#include "sandbox/console/Completion.h"

#include <algorithm>
#include <map>

namespace Sandbox {
namespace {

enum class Argument { Player, Mission, Registered };

// The arguments each console command takes, in order; a mission or a registered command is the
// rest of the line.
const std::map<std::string, std::vector<Argument>>& Arguments() {
  static const std::map<std::string, std::vector<Argument>> arguments = {
      {"start", {Argument::Player, Argument::Mission}},
      {"kill", {Argument::Player}},
      {"revive", {Argument::Player}},
      {"data", {Argument::Player}},
      {"messages", {Argument::Player}},
      {"as", {Argument::Player, Argument::Registered}},
  };
  return arguments;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::size_t SkipBlanks(const std::string& line, std::size_t at) {
  while (at < line.size() && IsBlank(line[at])) ++at;
  return at;
}

std::size_t WordEnd(const std::string& line, std::size_t at) {
  while (at < line.size() && !IsBlank(line[at])) ++at;
  return at;
}

Completion Matching(std::size_t start, const std::string& typed,
                    const std::vector<std::string>& names, bool restOfLine) {
  Completion completion{start, {}, restOfLine};
  for (const std::string& name : names) {
    if (name.compare(0, typed.size(), typed) == 0) completion.Candidates.push_back(name);
  }
  std::sort(completion.Candidates.begin(), completion.Candidates.end());
  completion.Candidates.erase(
      std::unique(completion.Candidates.begin(), completion.Candidates.end()),
      completion.Candidates.end());
  return completion;
}

const std::vector<std::string>& NamesOf(Argument argument, const ConsoleNames& names) {
  switch (argument) {
    case Argument::Player:
      return names.Players;
    case Argument::Mission:
      return names.Missions;
    case Argument::Registered:
      break;
  }
  return names.Registered;
}

}  // namespace

Completion CompleteConsoleLine(const std::string& beforeCursor, const ConsoleNames& names) {
  std::size_t start = SkipBlanks(beforeCursor, 0);
  std::size_t end = WordEnd(beforeCursor, start);
  if (end == beforeCursor.size()) {
    return Matching(start, beforeCursor.substr(start), names.Commands, false);
  }
  const auto command = Arguments().find(beforeCursor.substr(start, end - start));
  if (command == Arguments().end()) return Completion{beforeCursor.size(), {}, false};
  for (const Argument argument : command->second) {
    start = SkipBlanks(beforeCursor, end);
    const bool restOfLine = argument != Argument::Player;
    end = restOfLine ? beforeCursor.size() : WordEnd(beforeCursor, start);
    if (end == beforeCursor.size()) {
      return Matching(start, beforeCursor.substr(start), NamesOf(argument, names), restOfLine);
    }
  }
  return Completion{beforeCursor.size(), {}, false};
}

}  // namespace Sandbox
