// Fault injection: the Nth fallible crossing from the plugin into the host or the game heap fails
// the way that crossing can, so a test can walk every failure point of a scenario in turn.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "standin/Api.h"

namespace StandIn::Faults {

// How a failing host call fails; a failing game heap allocation answers null whatever this is.
enum class HostFailure { BadAlloc, Foreign };

// Thrown by a failing host call under HostFailure::Foreign: a type outside std::exception.
struct ForeignFailure {
  const char* What;
};

// The `n`th fallible crossing from now fails (1: the next one); the count starts again at 0.
// Fallible crossings are host calls (GetAddress, GetHooks, GetCommands and their operations,
// GetLogSinks, GetCurrentDir, Utf8Encode, Utf8Decode) and "FMemory.Malloc"/"FMemory.Realloc".
STANDIN_API void FailAt(uint64_t n, HostFailure how);
// No fault from now on, and no counting.
STANDIN_API void Disarm();
// True when the fault armed by FailAt has struck.
STANDIN_API bool Struck();

// The crossing FailAt armed (1 the first one counted), 0 while none is: unarmed, a crossing costs
// one relaxed load of it, read in line.
extern std::atomic<uint64_t> failingCrossing;

// Counts one crossing while a fault is armed; true when it is the armed one, which the journal
// records as the fault of `what` (of `key`, when it takes one).
bool Due(const char* what, const std::string* key);
// Counts a game heap allocation; true when it must answer null.
inline bool AllocationFails() {
  return failingCrossing.load(std::memory_order_relaxed) != 0 && Due("the allocation", nullptr);
}
// Throws the armed failure of host call `what`.
[[noreturn]] void FailHostCall(const char* what);
// Counts a host call `what` (of `key`, when it takes one); throws when it must fail.
inline void HostCall(const char* what, const std::string* key = nullptr) {
  if (failingCrossing.load(std::memory_order_relaxed) != 0 && Due(what, key)) FailHostCall(what);
}

}  // namespace StandIn::Faults
