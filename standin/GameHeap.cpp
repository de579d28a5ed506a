#include "standin/GameHeap.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include <fmt/format.h>

#include "standin/BlockTable.h"
#include "standin/Fatal.h"
#include "standin/Faults.h"
#include "standin/FunctionTable.h"
#include "standin/Journal.h"

namespace StandIn::GameHeap {
namespace {

// The ledger is taken twice for every engine string, and almost never by two threads at once:
// a spin lock costs a fraction of a mutex there and is as safe.
class SpinLock {
 public:
  void lock() noexcept {
    while (taken_.test_and_set(std::memory_order_acquire)) {
    }
  }
  void unlock() noexcept { taken_.clear(std::memory_order_release); }

 private:
  std::atomic_flag taken_ = ATOMIC_FLAG_INIT;
};

struct Ledger {
  SpinLock Lock;
  BlockTable Blocks;
  std::size_t Live = 0;
  uint64_t Allocations = 0;
  uint64_t Releases = 0;
};

Ledger& TheLedger() {
  static Ledger* ledger = new Ledger;  // outlives every static that may still release blocks
  return *ledger;
}

// The entry of live `block`; Fatal naming `operation` when it is not a live block.
BlockTable::Entry& LiveEntry(const char* operation, const void* block, Ledger& ledger) {
  BlockTable::Entry* entry = ledger.Blocks.Find(block);
  if (entry == nullptr || entry->Kind != BlockTable::State::Live) {
    const char* why =
        entry != nullptr ? "was already freed" : "was never handed out by the game heap";
    Fatal(fmt::format("{}: block {} {}", operation, block, why));
  }
  return *entry;
}

void MarkLive(Ledger& ledger, const void* block, std::size_t size) {
  BlockTable::Entry& entry = ledger.Blocks.Record(block);
  entry.Kind = BlockTable::State::Live;
  entry.Size = size;
}

// The game's entries record each call, the block by the size it was allocated with.
std::string BlockText(const void* block) {
  const std::optional<std::size_t> size = LiveBlockSize(block);
  return size ? fmt::format("{} bytes", *size) : fmt::format("{} (not a live block)", block);
}

void* MallocEntry(uint64_t size, uint32_t alignment) {
  Journal::Record([&] { return fmt::format("FMemory.Malloc({}, {})", size, alignment); });
  if (Faults::AllocationFails()) return nullptr;
  return Allocate(size);
}
void* ReallocEntry(void* block, uint64_t size) {
  Journal::Record([&] { return fmt::format("FMemory.Realloc({}, {})", BlockText(block), size); });
  if (Faults::AllocationFails()) return nullptr;
  return Resize(block, size);
}
void FreeEntry(void* block) {
  Journal::Record([&] { return fmt::format("FMemory.Free({})", BlockText(block)); });
  Release(block);
}

}  // namespace

void* Allocate(std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) Fatal(fmt::format("FMemory.Malloc: out of memory for {} bytes", size));
  Ledger& ledger = TheLedger();
  std::lock_guard<SpinLock> guard(ledger.Lock);
  MarkLive(ledger, block, size);
  ++ledger.Live;
  ++ledger.Allocations;
  return block;
}

void* Resize(void* block, std::size_t size) {
  Ledger& ledger = TheLedger();
  std::lock_guard<SpinLock> guard(ledger.Lock);
  BlockTable::Entry& entry = LiveEntry("FMemory.Realloc", block, ledger);
  void* moved = std::realloc(block, size == 0 ? 1 : size);
  if (moved == nullptr) Fatal(fmt::format("FMemory.Realloc: out of memory for {} bytes", size));
  if (moved != block) entry.Kind = BlockTable::State::Released;
  MarkLive(ledger, moved, size);  // after the old entry is settled: recording may move entries
  return moved;
}

void Release(void* block) {
  Ledger& ledger = TheLedger();
  std::lock_guard<SpinLock> guard(ledger.Lock);
  LiveEntry("FMemory.Free", block, ledger).Kind = BlockTable::State::Released;
  --ledger.Live;
  ++ledger.Releases;
  std::free(block);
}

std::size_t LiveBlocks() {
  Ledger& ledger = TheLedger();
  std::lock_guard<SpinLock> guard(ledger.Lock);
  return ledger.Live;
}

std::vector<Block> LiveBlockList() {
  Ledger& ledger = TheLedger();
  std::lock_guard<SpinLock> guard(ledger.Lock);
  std::vector<Block> blocks;
  ledger.Blocks.ForEach([&](const BlockTable::Entry& entry) {
    if (entry.Kind == BlockTable::State::Live) blocks.push_back({entry.Address, entry.Size});
  });
  return blocks;
}

std::optional<std::size_t> LiveBlockSize(const void* address) {
  Ledger& ledger = TheLedger();
  std::lock_guard<SpinLock> guard(ledger.Lock);
  const BlockTable::Entry* entry = ledger.Blocks.Find(address);
  if (entry == nullptr || entry->Kind != BlockTable::State::Live) return std::nullopt;
  return entry->Size;
}

uint64_t TotalAllocations() {
  Ledger& ledger = TheLedger();
  std::lock_guard<SpinLock> guard(ledger.Lock);
  return ledger.Allocations;
}

uint64_t TotalReleases() {
  Ledger& ledger = TheLedger();
  std::lock_guard<SpinLock> guard(ledger.Lock);
  return ledger.Releases;
}

void RegisterFunctions() {
  FunctionTable::AddFunction("FMemory.Malloc", reinterpret_cast<void*>(&MallocEntry));
  FunctionTable::AddFunction("FMemory.Realloc", reinterpret_cast<void*>(&ReallocEntry));
  FunctionTable::AddFunction("FMemory.Free", reinterpret_cast<void*>(&FreeEntry));
}

}  // namespace StandIn::GameHeap
