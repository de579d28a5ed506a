#include "tools/rcon/InListOrder.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

namespace RconTool {

void RunInListOrder(std::size_t count, std::size_t connections,
                    const std::function<ServerOutcome(std::size_t)>& ask,
                    const std::function<void(std::size_t, const ServerOutcome&)>& report) {
  std::mutex lock;
  std::condition_variable known;
  std::vector<std::optional<ServerOutcome>> outcomes(count);
  std::size_t next = 0;  // the next index a thread takes up
  const auto work = [&] {
    for (;;) {
      std::size_t index = 0;
      {
        const std::lock_guard<std::mutex> guard(lock);
        if (next == count) return;
        index = next++;
      }
      ServerOutcome outcome;
      try {
        outcome = ask(index);
      } catch (const std::exception& error) {
        outcome = {{{true, error.what()}}, false};
      }
      {
        const std::lock_guard<std::mutex> guard(lock);
        outcomes[index] = std::move(outcome);
      }
      known.notify_one();
    }
  };
  // Joined on every way out, a `report` that throws included; each `ask` ends within its timeout.
  struct Threads : std::vector<std::thread> {
    ~Threads() {
      for (std::thread& thread : *this) thread.join();
    }
  } threads;
  const std::size_t threadCount = std::min(count, std::max<std::size_t>(connections, 1));
  threads.reserve(threadCount);
  for (std::size_t i = 0; i < threadCount; ++i) threads.emplace_back(work);
  for (std::size_t index = 0; index < count; ++index) {
    std::unique_lock<std::mutex> guard(lock);
    known.wait(guard, [&] { return outcomes[index].has_value(); });
    const ServerOutcome outcome = std::move(*outcomes[index]);
    guard.unlock();
    report(index, outcome);
  }
}

}  // namespace RconTool
