// The game heap's inside (its face, the ledger's queries, is in HeapAndFaults.h): what the
// game's own strings and the stand-in's tests use beyond it.
#pragma once

#include <cstddef>
#include <optional>

#include "standin/Api.h"
#include "standin/HeapAndFaults.h"

namespace StandIn::GameHeap {

// A new live block of `size` bytes (at least one byte is reserved for size 0).
STANDIN_API void* Allocate(std::size_t size);
// Resizes a live block, keeping its contents; Fatal for a pointer that is not a live block.
STANDIN_API void* Resize(void* block, std::size_t size);
// The size `address` was allocated with when it is a live block, otherwise none. One lookup,
// whatever the number of blocks the heap has known.
STANDIN_API std::optional<std::size_t> LiveBlockSize(const void* address);

// Registers "FMemory.Malloc", "FMemory.Realloc" and "FMemory.Free" in the function table.
void RegisterFunctions();

}  // namespace StandIn::GameHeap
