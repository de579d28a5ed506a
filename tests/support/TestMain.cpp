// Test main for every suite: after each test, the game heap ledger must be back where the test
// found it, so a leaked or double-freed engine string anywhere fails the test that caused it.
#include <gtest/gtest.h>

#include <fmt/format.h>

#include "standin/HeapAndFaults.h"

namespace {

class LedgerCheck final : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo&) override {
    liveAtStart_ = StandIn::GameHeap::LiveBlocks();
  }

  // Runs before the result printer's OnTestEnd, so the failure shows on this test.
  void OnTestEnd(const testing::TestInfo&) override {
    const std::size_t live = StandIn::GameHeap::LiveBlocks();
    if (live == liveAtStart_) return;
    std::string blocks;
    for (const StandIn::GameHeap::Block& block : StandIn::GameHeap::LiveBlockList()) {
      blocks += fmt::format(" {}({} bytes)", block.Address, block.Size);
    }
    ADD_FAILURE() << "game heap ledger unbalanced: " << liveAtStart_ << " live blocks before the "
                  << "test, " << live << " after:" << blocks;
    liveAtStart_ = live;
  }

  std::size_t liveAtStart_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(new LedgerCheck);
  return RUN_ALL_TESTS();
}
