// A fault armed at a fallible crossing: struck once, or at that crossing and every one after it
// until disarmed, each failing crossing recorded in the journal.
#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "host-bridge/HostApi.h"
#include "standin/Journal.h"
#include "standin/HeapAndFaults.h"
#include "support/JournalMatch.h"

namespace {

using StandIn::Faults::HostFailure;

// Which of five lookups in a row fail ("x" failed, "." answered) with the fault armed by `arm`.
std::string FiveLookups(void (*arm)(uint64_t, HostFailure)) {
  std::string failed;
  arm(2, HostFailure::BadAlloc);
  for (int i = 0; i < 5; ++i) {
    try {
      GetAddress("FMemory.Malloc");
      failed += '.';
    } catch (const std::bad_alloc&) {
      failed += 'x';
    }
  }
  return failed;
}

TEST(FaultsTest, AFaultStrikesOnceOrFromItsCrossingOnUntilDisarmed) {
  struct Case {
    const char* name;
    void (*arm)(uint64_t, HostFailure);
    const char* failed;
  };
  const Case cases[] = {
      {"once", StandIn::Faults::FailAt, ".x..."},
      {"from there on", StandIn::Faults::FailFrom, ".xxxx"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StandIn::Journal::Start();
    EXPECT_EQ(FiveLookups(c.arm), c.failed);
    EXPECT_TRUE(StandIn::Faults::Struck());
    StandIn::Faults::Disarm();
    EXPECT_NO_THROW(GetAddress("FMemory.Malloc")) << "disarmed, nothing fails";
    const std::string failed = c.failed;
    EXPECT_EQ(Matching(StandIn::Journal::Entries(), "fault: *"),
              JournalEntries(std::count(failed.begin(), failed.end(), 'x'),
                             R"(fault: GetAddress("FMemory.Malloc") fails)"));
    StandIn::Journal::Stop();
  }
}

}  // namespace
