#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "host-bridge/HostApi.h"
#include "standin/GameHeap.h"

namespace {

using MallocFunction = void* (*)(uint64_t, uint32_t);
using ReallocFunction = void* (*)(void*, uint64_t);
using FreeFunction = void (*)(void*);

TEST(GameHeap, BlocksComeAndGoThroughTheGameFunctions) {
  auto malloc = reinterpret_cast<MallocFunction>(GetAddress("FMemory.Malloc"));
  auto realloc = reinterpret_cast<ReallocFunction>(GetAddress("FMemory.Realloc"));
  auto free = reinterpret_cast<FreeFunction>(GetAddress("FMemory.Free"));
  const std::size_t liveBefore = StandIn::GameHeap::LiveBlocks();

  auto* block = static_cast<char*>(malloc(8, 0));
  std::memcpy(block, "abcdefg", 8);
  EXPECT_EQ(StandIn::GameHeap::LiveBlocks(), liveBefore + 1);

  block = static_cast<char*>(realloc(block, 4096));
  EXPECT_STREQ(block, "abcdefg") << "a resize keeps the contents";
  EXPECT_EQ(StandIn::GameHeap::LiveBlocks(), liveBefore + 1);

  free(block);
  EXPECT_EQ(StandIn::GameHeap::LiveBlocks(), liveBefore);
}

// The check of every string handed to the game looks its buffer up by address; a released or
// foreign address, or a resized block's old one, must not pass for live.
TEST(GameHeap, LiveBlockSizeKnowsExactlyTheLiveBlocks) {
  using StandIn::GameHeap::LiveBlockSize;
  void* block = StandIn::GameHeap::Allocate(24);
  void* empty = StandIn::GameHeap::Allocate(0);
  EXPECT_EQ(LiveBlockSize(block), std::optional<std::size_t>(24));
  EXPECT_EQ(LiveBlockSize(empty), std::optional<std::size_t>(0));

  int foreign = 0;
  EXPECT_EQ(LiveBlockSize(&foreign), std::nullopt);

  void* moved = StandIn::GameHeap::Resize(block, 1 << 20);
  EXPECT_EQ(LiveBlockSize(moved), std::optional<std::size_t>(1 << 20));
  if (moved != block) {
    EXPECT_EQ(LiveBlockSize(block), std::nullopt);
  }

  StandIn::GameHeap::Release(moved);
  StandIn::GameHeap::Release(empty);
  EXPECT_EQ(LiveBlockSize(empty), std::nullopt);
}

// The fault walks give back what a run left by when it was made: a block released since the mark
// may hand its address on to one the run made (the system allocator does so at once for a block
// of the same size), and that one must go while an older block at another address stays.
TEST(GameHeap, BlocksMadeSinceAMarkAreToldByWhenNotWhere) {
  using StandIn::GameHeap::Allocate;
  using StandIn::GameHeap::LiveBlockSize;
  void* older = Allocate(58);
  void* releasedSince = Allocate(58);
  const uint64_t mark = StandIn::GameHeap::TotalAllocations();
  StandIn::GameHeap::Release(releasedSince);
  void* madeSince = Allocate(58);
  SCOPED_TRACE(madeSince == releasedSince ? "at the released block's address" : "elsewhere");

  EXPECT_EQ(StandIn::GameHeap::ReleaseBlocksMadeSince(mark), 1u);
  EXPECT_EQ(LiveBlockSize(madeSince), std::nullopt);
  EXPECT_EQ(LiveBlockSize(older), std::optional<std::size_t>(58));
  EXPECT_EQ(StandIn::GameHeap::ReleaseBlocksMadeSince(mark), 0u);
  StandIn::GameHeap::Release(older);
}

// A resize moves a block, not when it was made: it stays older than a mark taken after it.
TEST(GameHeap, AResizedBlockKeepsWhenItWasMade) {
  void* block = StandIn::GameHeap::Allocate(8);
  const uint64_t mark = StandIn::GameHeap::TotalAllocations();
  block = StandIn::GameHeap::Resize(block, 1 << 20);
  EXPECT_EQ(StandIn::GameHeap::ReleaseBlocksMadeSince(mark), 0u);
  EXPECT_EQ(StandIn::GameHeap::ReleaseBlocksMadeSince(mark - 1), 1u);
}

}  // namespace
