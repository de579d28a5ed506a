#include "standin/GameHeap.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

#include <fmt/format.h>

#include "standin/Fatal.h"
#include "standin/FunctionTable.h"

namespace StandIn::GameHeap {
namespace {

struct Ledger {
  std::mutex Lock;
  std::unordered_map<const void*, std::size_t> Live;
  // Addresses released and not handed out again: a second release names them as freed twice.
  std::unordered_set<const void*> Released;
  uint64_t Allocations = 0;
  uint64_t Releases = 0;
};

Ledger& TheLedger() {
  static Ledger* ledger = new Ledger;  // outlives every static that may still release blocks
  return *ledger;
}

[[noreturn]] void NotLive(const char* operation, const void* block, const Ledger& ledger) {
  const char* why = ledger.Released.count(block) != 0 ? "was already freed"
                                                      : "was never handed out by the game heap";
  Fatal(fmt::format("{}: block {} {}", operation, block, why));
}

void* MallocEntry(uint64_t size, uint32_t /*alignment*/) {
  return Allocate(size);
}
void* ReallocEntry(void* block, uint64_t size) {
  return Resize(block, size);
}
void FreeEntry(void* block) {
  Release(block);
}

}  // namespace

void* Allocate(std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) Fatal(fmt::format("FMemory.Malloc: out of memory for {} bytes", size));
  Ledger& ledger = TheLedger();
  std::lock_guard<std::mutex> guard(ledger.Lock);
  ledger.Live[block] = size;
  ledger.Released.erase(block);
  ++ledger.Allocations;
  return block;
}

void* Resize(void* block, std::size_t size) {
  Ledger& ledger = TheLedger();
  std::lock_guard<std::mutex> guard(ledger.Lock);
  auto found = ledger.Live.find(block);
  if (found == ledger.Live.end()) NotLive("FMemory.Realloc", block, ledger);
  void* moved = std::realloc(block, size == 0 ? 1 : size);
  if (moved == nullptr) Fatal(fmt::format("FMemory.Realloc: out of memory for {} bytes", size));
  ledger.Live.erase(found);
  ledger.Live[moved] = size;
  ledger.Released.erase(moved);
  if (moved != block) ledger.Released.insert(block);
  return moved;
}

void Release(void* block) {
  Ledger& ledger = TheLedger();
  std::lock_guard<std::mutex> guard(ledger.Lock);
  auto found = ledger.Live.find(block);
  if (found == ledger.Live.end()) NotLive("FMemory.Free", block, ledger);
  ledger.Live.erase(found);
  ledger.Released.insert(block);
  ++ledger.Releases;
  std::free(block);
}

std::size_t LiveBlocks() {
  Ledger& ledger = TheLedger();
  std::lock_guard<std::mutex> guard(ledger.Lock);
  return ledger.Live.size();
}

std::vector<Block> LiveBlockList() {
  Ledger& ledger = TheLedger();
  std::lock_guard<std::mutex> guard(ledger.Lock);
  std::vector<Block> blocks;
  for (const auto& [address, size] : ledger.Live) blocks.push_back({address, size});
  return blocks;
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
