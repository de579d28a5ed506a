// Asking the servers of a cluster at the same time, with their answers in the order of the list.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace RconTool {

// What came of one server, to be printed under its name.
struct ServerOutcome {
  struct Line {
    bool Error;  // for standard error rather than standard output
    std::string Text;
  };
  std::vector<Line> Lines;
  bool Succeeded = false;
};

// Runs `ask(0)` to `ask(count - 1)`, at most `connections` of them at a time, each on a thread of
// its own, and hands each outcome to `report` on the calling thread in index order, as soon as it
// and every one before it are known. So N servers that never answer cost about one timeout when
// `connections` >= N. `ask` reports its failures in its outcome; what it throws becomes a failed
// outcome saying so.
void RunInListOrder(std::size_t count, std::size_t connections,
                    const std::function<ServerOutcome(std::size_t)>& ask,
                    const std::function<void(std::size_t, const ServerOutcome&)>& report);

}  // namespace RconTool
