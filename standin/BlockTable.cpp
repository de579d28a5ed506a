#include "standin/BlockTable.h"

namespace StandIn::GameHeap {
namespace {

constexpr unsigned kInitialBits = 10;

}  // namespace

BlockTable::BlockTable() : slots_(std::size_t{1} << kInitialBits), shift_(64 - kInitialBits) {}

// Fibonacci hashing of the address: blocks are aligned, so its low bits say little on their own.
std::size_t BlockTable::SlotOf(const void* address) const {
  return static_cast<std::size_t>((reinterpret_cast<uintptr_t>(address) * 0x9E3779B97F4A7C15ull) >>
                                  shift_);
}

BlockTable::Entry* BlockTable::Find(const void* address) {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t slot = SlotOf(address);; slot = (slot + 1) & mask) {
    Entry& entry = slots_[slot];
    if (entry.Address == address) return &entry;
    if (entry.Address == nullptr) return nullptr;
  }
}

BlockTable::Entry& BlockTable::Record(const void* address) {
  if (Entry* known = Find(address)) return *known;
  if (2 * (used_ + 1) > slots_.size()) Grow();
  const std::size_t mask = slots_.size() - 1;
  std::size_t slot = SlotOf(address);
  while (slots_[slot].Address != nullptr) slot = (slot + 1) & mask;
  ++used_;
  slots_[slot].Address = address;
  return slots_[slot];
}

void BlockTable::Grow() {
  std::vector<Entry> old(slots_.size() * 2);
  old.swap(slots_);
  --shift_;
  const std::size_t mask = slots_.size() - 1;
  for (const Entry& entry : old) {
    if (entry.Address == nullptr) continue;
    std::size_t slot = SlotOf(entry.Address);
    while (slots_[slot].Address != nullptr) slot = (slot + 1) & mask;
    slots_[slot] = entry;
  }
}

}  // namespace StandIn::GameHeap
