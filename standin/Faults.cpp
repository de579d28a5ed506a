#include "standin/Faults.h"

#include <new>
#include <stdexcept>

#include <fmt/format.h>

#include "standin/JournalWriter.h"

namespace StandIn::Faults {

std::atomic<uint64_t> failingCrossing{0};

namespace {

struct Plan {
  std::atomic<uint64_t> Count{0};
  std::atomic<bool> Struck{false};
  std::atomic<bool> Persistent{false};  // every crossing from the armed one on fails
  std::atomic<HostFailure> How{HostFailure::BadAlloc};
};

Plan& ThePlan() {
  static Plan plan;
  return plan;
}

}  // namespace

bool Due(const char* what, const std::string* key) {
  Plan& plan = ThePlan();
  const uint64_t failing = failingCrossing.load(std::memory_order_relaxed);
  if (failing == 0) return false;
  const uint64_t count = plan.Count.fetch_add(1, std::memory_order_relaxed) + 1;
  const bool persistent = plan.Persistent.load(std::memory_order_relaxed);
  if (persistent ? count < failing : count != failing) return false;
  if (!persistent) failingCrossing.store(0, std::memory_order_relaxed);  // one fault per FailAt
  plan.Struck.store(true, std::memory_order_relaxed);
  Journal::Record([&] {
    return key != nullptr ? fmt::format("fault: {}(\"{}\") fails", what, *key)
                          : fmt::format("fault: {} fails", what);
  });
  return true;
}

namespace {

void Arm(uint64_t n, HostFailure how, bool persistent) {
  Plan& plan = ThePlan();
  plan.How.store(how);
  plan.Persistent.store(persistent);
  plan.Struck.store(false);
  plan.Count.store(0);
  failingCrossing.store(n);
}

}  // namespace

void FailAt(uint64_t n, HostFailure how) {
  Arm(n, how, false);
}

void FailFrom(uint64_t n, HostFailure how) {
  Arm(n, how, true);
}

void Disarm() {
  failingCrossing.store(0);
}

bool Struck() {
  return ThePlan().Struck.load();
}

void FailHostCall(const char* what) {
  switch (ThePlan().How.load(std::memory_order_relaxed)) {
    case HostFailure::BadAlloc:
      throw std::bad_alloc();
    case HostFailure::Worded:
      throw std::runtime_error(kWordedFailure);
    case HostFailure::Foreign:
      break;
  }
  throw ForeignFailure{what};
}

}  // namespace StandIn::Faults
