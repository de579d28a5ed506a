#include "standin/Faults.h"

#include <atomic>
#include <new>

#include <fmt/format.h>

#include "standin/Journal.h"

namespace StandIn::Faults {
namespace {

struct Plan {
  std::atomic<uint64_t> Count{0};
  std::atomic<uint64_t> FailingCrossing{0};  // 0: none
  std::atomic<bool> Struck{false};
  std::atomic<HostFailure> How{HostFailure::BadAlloc};
};

Plan& ThePlan() {
  static Plan plan;
  return plan;
}

// Counts one crossing while a fault is armed; true when it is the armed one. Unarmed, a crossing
// costs one relaxed load.
bool Due(const char* what, const std::string* key = nullptr) {
  Plan& plan = ThePlan();
  const uint64_t failing = plan.FailingCrossing.load(std::memory_order_relaxed);
  if (failing == 0) return false;
  const uint64_t count = plan.Count.fetch_add(1, std::memory_order_relaxed) + 1;
  if (count != failing) return false;
  plan.FailingCrossing.store(0, std::memory_order_relaxed);  // one fault per FailAt
  plan.Struck.store(true, std::memory_order_relaxed);
  Journal::Record([&] {
    return key != nullptr ? fmt::format("fault: {}(\"{}\") fails", what, *key)
                          : fmt::format("fault: {} fails", what);
  });
  return true;
}

}  // namespace

void FailAt(uint64_t n, HostFailure how) {
  Plan& plan = ThePlan();
  plan.How.store(how);
  plan.Struck.store(false);
  plan.Count.store(0);
  plan.FailingCrossing.store(n);
}

void Disarm() {
  ThePlan().FailingCrossing.store(0);
}

bool Struck() {
  return ThePlan().Struck.load();
}

bool AllocationFails() {
  return Due("the allocation");
}

void HostCall(const char* what, const std::string* key) {
  if (!Due(what, key)) return;
  if (ThePlan().How.load(std::memory_order_relaxed) == HostFailure::BadAlloc) {
    throw std::bad_alloc();
  }
  throw ForeignFailure{what};
}

}  // namespace StandIn::Faults
