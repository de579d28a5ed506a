#include "standin/GameHeap.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>

#include <fmt/format.h>

#include "standin/Fatal.h"
#include "standin/Faults.h"
#include "standin/FunctionTable.h"
#include "standin/JournalWriter.h"

namespace StandIn::GameHeap {
namespace {

// How many of the latest releases the ledger remembers, to tell a second release of a block from
// a pointer the heap never made.
constexpr std::size_t kReleasesRemembered = 4096;

// The live blocks with their sizes and when they were made, and the latest released addresses.
// Neither allocates once the program has reached its most live blocks: a released block's map
// node is kept and reused for the next block, and the released addresses go round a ring of
// fixed size.
struct Ledger {
  struct Made {
    std::size_t Size;
    uint64_t Allocation;  // Allocations just after the block was made
  };
  using LiveMap = std::unordered_map<const void*, Made>;

  std::mutex Lock;
  LiveMap Live;
  std::vector<LiveMap::node_type> SpareNodes;
  std::array<const void*, kReleasesRemembered> Released{};
  std::size_t NextRelease = 0;
  uint64_t Allocations = 0;
  uint64_t Releases = 0;

  // Adds live `block` as `made`, in a spare node when there is one.
  void Remember(const void* block, Made made) {
    if (SpareNodes.empty()) {
      Live.emplace(block, made);
      return;
    }
    LiveMap::node_type node = std::move(SpareNodes.back());
    SpareNodes.pop_back();
    node.key() = block;
    node.mapped() = made;
    Live.insert(std::move(node));
  }
  // Takes live `block` out of the ledger and answers when it was made; Fatal naming `operation`
  // when it is not a live block.
  uint64_t Forget(const char* operation, const void* block) {
    LiveMap::node_type node = Live.extract(block);
    if (node.empty()) {
      const bool released = std::find(Released.begin(), Released.end(), block) != Released.end();
      Fatal(fmt::format("{}: block {} {}", operation, block,
                        released ? "was already freed" : "was never handed out by the game heap"));
    }
    const uint64_t allocation = node.mapped().Allocation;
    SpareNodes.push_back(std::move(node));
    Released[NextRelease] = block;
    NextRelease = (NextRelease + 1) % kReleasesRemembered;
    return allocation;
  }
};

Ledger& TheLedger() {
  static Ledger* ledger = new Ledger;  // outlives every static that may still release blocks
  return *ledger;
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
  ledger.Remember(block, {size, ++ledger.Allocations});
  return block;
}

void* Resize(void* block, std::size_t size) {
  Ledger& ledger = TheLedger();
  std::lock_guard<std::mutex> guard(ledger.Lock);
  // Live again below when the block stays where it is.
  const uint64_t allocation = ledger.Forget("FMemory.Realloc", block);
  void* moved = std::realloc(block, size == 0 ? 1 : size);
  if (moved == nullptr) Fatal(fmt::format("FMemory.Realloc: out of memory for {} bytes", size));
  ledger.Remember(moved, {size, allocation});
  return moved;
}

void Release(void* block) {
  Ledger& ledger = TheLedger();
  std::lock_guard<std::mutex> guard(ledger.Lock);
  ledger.Forget("FMemory.Free", block);
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
  for (const auto& [address, made] : ledger.Live)
    blocks.push_back({address, made.Size, made.Allocation});
  return blocks;
}

std::size_t ReleaseBlocksMadeSince(uint64_t allocations) {
  std::size_t released = 0;
  for (const Block& block : LiveBlockList()) {
    if (block.Made <= allocations) continue;
    Release(const_cast<void*>(block.Address));
    ++released;
  }
  return released;
}

std::optional<std::size_t> LiveBlockSize(const void* address) {
  Ledger& ledger = TheLedger();
  std::lock_guard<std::mutex> guard(ledger.Lock);
  const auto found = ledger.Live.find(address);
  if (found == ledger.Live.end()) return std::nullopt;
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
