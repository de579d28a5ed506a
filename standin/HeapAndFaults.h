// What a test checks and provokes below the plugin: the game heap's ledger of live blocks, and
// fault injection at the plugin's fallible crossings into the host and the game heap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "standin/Api.h"

namespace StandIn {

// The game's heap behind "FMemory.Malloc", "FMemory.Realloc" and "FMemory.Free": a ledger that
// knows every live block, so a leaked, foreign or twice-freed engine string is caught by name.
namespace GameHeap {

struct Block {
  const void* Address;
  std::size_t Size;
  uint64_t Made;  // TotalAllocations() just after the allocation that made it; a resize keeps it
};

// Releases a live block; Fatal for a pointer that is not a live block.
STANDIN_API void Release(void* block);
// Blocks allocated and not yet released.
STANDIN_API std::size_t LiveBlocks();
STANDIN_API std::vector<Block> LiveBlockList();
// Releases every live block made after TotalAllocations() was `allocations`, and answers how many.
// Told apart by when they were made, never by address: a block released since may have handed
// its address on to one of them.
STANDIN_API std::size_t ReleaseBlocksMadeSince(uint64_t allocations);
// Totals since the process started, for cost counters.
STANDIN_API uint64_t TotalAllocations();
STANDIN_API uint64_t TotalReleases();

}  // namespace GameHeap

// Fault injection: the Nth fallible crossing from the plugin into the host or the game heap fails
// the way that crossing can, so a test can walk every failure point of a scenario in turn.
namespace Faults {

// How a failing host call fails; a failing game heap allocation answers null whatever this is.
// Worded: a std::runtime_error whose what() is kWordedFailure, text a log line must escape.
enum class HostFailure { BadAlloc, Foreign, Worded };
inline constexpr const char* kWordedFailure = "the host failed\n[QuestVeto][info] forged";

// Thrown by a failing host call under HostFailure::Foreign: a type outside std::exception.
struct ForeignFailure {
  const char* What;
};

// The `n`th fallible crossing from now fails (1: the next one); the count starts again at 0.
// Fallible crossings are host calls (GetAddress, GetHooks, GetCommands and their operations,
// GetLogSinks, GetCurrentDir, Utf8Encode, Utf8Decode) and "FMemory.Malloc"/"FMemory.Realloc".
STANDIN_API void FailAt(uint64_t n, HostFailure how);
// The same, and every fallible crossing after it fails too, until Disarm: a host gone bad stays
// bad, so a second try meets the fault again. The journal records each failing crossing.
STANDIN_API void FailFrom(uint64_t n, HostFailure how);
// No fault from now on, and no counting.
STANDIN_API void Disarm();
// True when the fault armed by FailAt or FailFrom has struck.
STANDIN_API bool Struck();

}  // namespace Faults

}  // namespace StandIn
