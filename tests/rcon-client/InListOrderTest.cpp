// The servers of a list asked at the same time, at most so many at once, answers in list order.
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "tools/rcon/InListOrder.h"

namespace RconTool {
namespace {

using namespace std::chrono_literals;

// Counts the asks in progress; each waits, up to a bound, until `gathered` of them are. It looks
// again every millisecond rather than waiting on a condition variable with a timeout: Wine's
// msvcp140 keeps its own layout of the condition and mutex that the MSVC library's statically
// linked timed wait does not know, so under Wine a timed wait is never woken by a notification.
class Gathering {
 public:
  explicit Gathering(std::size_t gathered) : gathered_(gathered) {}

  // Whether `gathered` asks were in progress at once within the bound.
  bool Enter() {
    {
      const std::lock_guard<std::mutex> guard(lock_);
      ++inProgress_;
      most_ = std::max(most_, inProgress_);
    }
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (Most() < gathered_) {
      if (std::chrono::steady_clock::now() >= deadline) return false;
      std::this_thread::sleep_for(1ms);
    }
    return true;
  }
  void Leave() {
    const std::lock_guard<std::mutex> guard(lock_);
    --inProgress_;
  }
  std::size_t Most() {
    const std::lock_guard<std::mutex> guard(lock_);
    return most_;
  }

 private:
  std::mutex lock_;
  std::size_t gathered_;
  std::size_t inProgress_ = 0;
  std::size_t most_ = 0;
};

TEST(InListOrderTest, AsksAllAtOnceAndReportsInListOrder) {
  constexpr std::size_t kCount = 5;
  Gathering gathering(kCount);
  std::vector<std::size_t> reported;
  RunInListOrder(
      kCount, 8,
      [&](std::size_t index) {
        const bool together = gathering.Enter();
        // The later in the list, the sooner done.
        std::this_thread::sleep_for(std::chrono::milliseconds(10 * (kCount - index)));
        gathering.Leave();
        if (index == 3) throw std::runtime_error("cannot resolve center");
        return ServerOutcome{{{false, std::to_string(index)}}, together};
      },
      [&](std::size_t index, const ServerOutcome& outcome) {
        reported.push_back(index);
        if (index == 3) {
          EXPECT_FALSE(outcome.Succeeded);
          ASSERT_EQ(outcome.Lines.size(), 1u);
          EXPECT_TRUE(outcome.Lines[0].Error);
          EXPECT_EQ(outcome.Lines[0].Text, "cannot resolve center");
        } else {
          EXPECT_TRUE(outcome.Succeeded) << "ask " << index << " did not run beside the others";
        }
      });
  EXPECT_EQ(reported, (std::vector<std::size_t>{0, 1, 2, 3, 4}));
  EXPECT_EQ(gathering.Most(), kCount);
}

TEST(InListOrderTest, NeverAsksMoreThanTheConnectionsAtOnce) {
  Gathering gathering(2);
  std::size_t reports = 0;
  RunInListOrder(
      7, 2,
      [&](std::size_t) {
        const bool together = gathering.Enter();
        std::this_thread::sleep_for(20ms);  // long enough for a third to come in, were it let
        gathering.Leave();
        return ServerOutcome{{}, together};
      },
      [&](std::size_t, const ServerOutcome& outcome) {
        EXPECT_TRUE(outcome.Succeeded);
        ++reports;
      });
  EXPECT_EQ(reports, 7u);
  EXPECT_EQ(gathering.Most(), 2u);
}

}  // namespace
}  // namespace RconTool
