// Tab completion of console lines: what can finish the argument under the cursor, and where that
// argument begins.
#include <gtest/gtest.h>

#include "sandbox/console/Completion.h"

namespace {

using Sandbox::CompleteConsoleLine;
using Sandbox::Completion;
using Sandbox::ConsoleNames;

ConsoleNames Names() {
  ConsoleNames names;
  names.Commands = {"help", "kill", "missions", "messages", "start", "as", "qv.reload", "quit"};
  names.Registered = {"qv.reload", "other.cmd"};
  names.Players = {"Bob", "Bobby", "Alice"};
  names.Missions = {"Hunt", "The Great Hunt", "Race to the Summit", "Race"};
  return names;
}

TEST(CompletionTest, CandidatesForTheArgumentUnderTheCursor) {
  struct Case {
    const char* line;  // up to the cursor
    std::size_t start;
    std::vector<std::string> candidates;  // sorted
    bool restOfLine;
  };
  const Case cases[] = {
      {"", 0, {"as", "help", "kill", "messages", "missions", "quit", "qv.reload", "start"}, false},
      {"m", 0, {"messages", "missions"}, false},
      {"  qv.", 2, {"qv.reload"}, false},
      {"Kill", 0, {}, false},  // names are matched as written
      {"kill ", 5, {"Alice", "Bob", "Bobby"}, false},
      {"kill  Bo", 6, {"Bob", "Bobby"}, false},
      {"kill Bob ", 9, {}, false},  // kill takes one argument
      {"start Bob ", 10, {"Hunt", "Race", "Race to the Summit", "The Great Hunt"}, true},
      {"start Bob Race t", 10, {"Race to the Summit"}, true},
      {"start Bob The Great H", 10, {"The Great Hunt"}, true},
      {"start Bob hunt", 10, {}, true},
      {"as Alice ", 9, {"other.cmd", "qv.reload"}, true},
      {"as Alice qv", 9, {"qv.reload"}, true},
      {"help me", 7, {}, false},
      {"no.such thing", 13, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const Completion completion = CompleteConsoleLine(c.line, Names());
    EXPECT_EQ(completion.Start, c.start);
    EXPECT_EQ(completion.Candidates, c.candidates);
    EXPECT_EQ(completion.RestOfLine, c.restOfLine);
  }
}

TEST(CompletionTest, ANameKnownTwiceIsOfferedOnce) {
  ConsoleNames names = Names();
  names.Commands.emplace_back("qv.reload");  // the console's own and a plugin's of the same name
  EXPECT_EQ(CompleteConsoleLine("qv", names).Candidates, std::vector<std::string>{"qv.reload"});
}

}  // namespace
