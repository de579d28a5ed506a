// The game's heap behind "FMemory.Malloc", "FMemory.Realloc" and "FMemory.Free": a ledger that
// knows every live block, so a leaked, foreign or twice-freed engine string is caught by name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "standin/Api.h"

namespace StandIn::GameHeap {

struct Block {
  const void* Address;
  std::size_t Size;
};

// A new live block of `size` bytes (at least one byte is reserved for size 0).
STANDIN_API void* Allocate(std::size_t size);
// Resizes a live block, keeping its contents; Fatal for a pointer that is not a live block.
STANDIN_API void* Resize(void* block, std::size_t size);
// Releases a live block; Fatal for a pointer that is not a live block.
STANDIN_API void Release(void* block);

// Blocks allocated and not yet released.
STANDIN_API std::size_t LiveBlocks();
STANDIN_API std::vector<Block> LiveBlockList();
// The size `address` was allocated with when it is a live block, otherwise none. One lookup,
// whatever the number of blocks the heap has known.
STANDIN_API std::optional<std::size_t> LiveBlockSize(const void* address);
// Totals since the process started, for cost counters.
STANDIN_API uint64_t TotalAllocations();
STANDIN_API uint64_t TotalReleases();

// Registers "FMemory.Malloc", "FMemory.Realloc" and "FMemory.Free" in the function table.
void RegisterFunctions();

}  // namespace StandIn::GameHeap
