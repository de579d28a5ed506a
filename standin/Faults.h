// Fault injection's inside: how a crossing counts itself and fails. Arming a fault is in
// HeapAndFaults.h.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "standin/HeapAndFaults.h"

namespace StandIn::Faults {

// The first crossing FailAt or FailFrom armed (1 the first one counted), 0 while none is: unarmed,
// a crossing costs one relaxed load of it, read in line.
extern std::atomic<uint64_t> failingCrossing;

// Counts one crossing while a fault is armed; true when it must fail, which the journal records
// as the fault of `what` (of `key`, when it takes one).
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
