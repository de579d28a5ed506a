#include "standin/GameHeap.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>

#include <fmt/format.h>

#include "standin/Fatal.h"
#include "standin/Faults.h"
#include "standin/FunctionTable.h"
#include "standin/Journal.h"

namespace StandIn::GameHeap {
namespace {

// Every address the heap has handed out: live, with the size it was allocated with, or released.
// A released address stays until the heap hands it out again, so that a second release can be
// told from a pointer the heap never made.
struct BlockState {
  std::size_t Size = 0;
  bool Live = false;
};

struct Ledger {
  std::mutex Lock;
  std::unordered_map<const void*, BlockState> Blocks;
  std::size_t Live = 0;
  uint64_t Allocations = 0;
  uint64_t Releases = 0;
};

Ledger& TheLedger() {
  static Ledger* ledger = new Ledger;  // outlives every static that may still release blocks
  return *ledger;
}

// The state of live `block`; Fatal naming `operation` when it is not a live block.
BlockState& LiveState(const char* operation, const void* block, Ledger& ledger) {
  const auto found = ledger.Blocks.find(block);
  if (found == ledger.Blocks.end() || !found->second.Live) {
    const char* why = found != ledger.Blocks.end() ? "was already freed"
                                                   : "was never handed out by the game heap";
    Fatal(fmt::format("{}: block {} {}", operation, block, why));
  }
  return found->second;
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
  std::lock_guard<std::mutex> guard(ledger.Lock);
  ledger.Blocks[block] = {size, true};
  ++ledger.Live;
  ++ledger.Allocations;
  return block;
}

void* Resize(void* block, std::size_t size) {
  Ledger& ledger = TheLedger();
  std::lock_guard<std::mutex> guard(ledger.Lock);
  LiveState("FMemory.Realloc", block, ledger).Live = false;
  void* moved = std::realloc(block, size == 0 ? 1 : size);
  if (moved == nullptr) Fatal(fmt::format("FMemory.Realloc: out of memory for {} bytes", size));
  ledger.Blocks[moved] = {size, true};
  return moved;
}

void Release(void* block) {
  Ledger& ledger = TheLedger();
  std::lock_guard<std::mutex> guard(ledger.Lock);
  LiveState("FMemory.Free", block, ledger).Live = false;
  --ledger.Live;
  ++ledger.Releases;
  std::free(block);
}

std::size_t LiveBlocks() {
  Ledger& ledger = TheLedger();
  std::lock_guard<std::mutex> guard(ledger.Lock);
  return ledger.Live;
}

std::vector<Block> LiveBlockList() {
  Ledger& ledger = TheLedger();
  std::lock_guard<std::mutex> guard(ledger.Lock);
  std::vector<Block> blocks;
  for (const auto& [address, state] : ledger.Blocks) {
    if (state.Live) blocks.push_back({address, state.Size});
  }
  return blocks;
}

std::optional<std::size_t> LiveBlockSize(const void* address) {
  Ledger& ledger = TheLedger();
  std::lock_guard<std::mutex> guard(ledger.Lock);
  const auto found = ledger.Blocks.find(address);
  if (found == ledger.Blocks.end() || !found->second.Live) return std::nullopt;
  return found->second.Size;
}

uint64_t TotalAllocations() {
  Ledger& ledger = TheLedger();
  std::lock_guard<std::mutex> guard(ledger.Lock);
  return ledger.Allocations;
}

uint64_t TotalReleases() {
  Ledger& ledger = TheLedger();
  std::lock_guard<std::mutex> guard(ledger.Lock);
  return ledger.Releases;
}

void RegisterFunctions() {
  FunctionTable::AddFunction("FMemory.Malloc", reinterpret_cast<void*>(&MallocEntry));
  FunctionTable::AddFunction("FMemory.Realloc", reinterpret_cast<void*>(&ReallocEntry));
  FunctionTable::AddFunction("FMemory.Free", reinterpret_cast<void*>(&FreeEntry));
}

}  // namespace StandIn::GameHeap
