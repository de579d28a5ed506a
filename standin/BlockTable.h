// The game heap's record of the addresses it has handed out: each one live, with its size, or
// released. A released address stays known until the heap hands it out again, so that a second
// release can be told from a pointer the heap never made. One flat open-addressing table keyed by
// address: recording a block allocates nothing beyond the occasional doubling of the table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace StandIn::GameHeap {

class BlockTable {
 public:
  enum class State : uint8_t { Live, Released };
  struct Entry {
    const void* Address = nullptr;  // null: a free slot
    std::size_t Size = 0;
    State Kind = State::Live;
  };

  BlockTable();

  // The entry of `address`, or null when the heap never handed it out. Valid until the next
  // Record.
  Entry* Find(const void* address);
  // The entry of non-null `address`, added (live, size 0) when there is none.
  Entry& Record(const void* address);

  template <typename Visit>
  void ForEach(Visit&& visit) const {
    for (const Entry& entry : slots_) {
      if (entry.Address != nullptr) visit(entry);
    }
  }

 private:
  std::size_t SlotOf(const void* address) const;
  void Grow();

  std::vector<Entry> slots_;  // a power of two in size, at most half used
  unsigned shift_;            // 64 - log2(slots)
  std::size_t used_ = 0;
};

}  // namespace StandIn::GameHeap
