#include "plugin/FaultHarness.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "standin/HeapAndFaults.h"
#include "standin/Journal.h"

const char* const kFreeLookupFails = R"(fault: GetAddress("FMemory.Free") fails)";

namespace {

// Whether the journal entry is of a crossing the stand-in's fault injection counts.
bool Fallible(const std::string& entry) {
  static const char* const kFallible[] = {
      "GetAddress(", "GetLogSinks()",   "GetHooks()",       "GetCommands()",
      "IHooks.",     "ICommands.",      "GetCurrentDir()",  "Utf8Encode(",
      "Utf8Decode(", "FMemory.Malloc(", "FMemory.Realloc(",
  };
  return std::any_of(std::begin(kFallible), std::end(kFallible),
                     [&](const char* start) { return entry.rfind(start, 0) == 0; });
}

// What `act` let escape, or "".
std::string Escaped(const std::function<void()>& act) {
  try {
    act();
  } catch (const std::exception& error) {
    return std::string("std::exception: ") + error.what();
  } catch (const StandIn::Faults::ForeignFailure& failure) {
    return std::string("foreign failure of ") + failure.What;
  } catch (...) {
    return "an exception of unknown type";
  }
  return {};
}

// The place (1 the first) of `failing` among the fallible crossings of `journal`, a run without
// a fault; 0 when the run never made it.
uint64_t PlaceOf(const FailingCrossing& failing, const JournalEntries& journal) {
  uint64_t place = 0;
  int met = 0;
  for (const std::string& entry : journal) {
    if (!Fallible(entry)) continue;
    ++place;
    if (EntryMatches(failing.crossing, entry) && ++met == failing.occurrence) return place;
  }
  return 0;
}

}  // namespace

FailingCrossing Fails(std::string crossing, HostFailure how) {
  return {std::move(crossing), 1, how};
}

FailingCrossing FailsSecond(std::string crossing) {
  return {std::move(crossing), 2, HostFailure::BadAlloc};
}

FaultRun RunFailing(uint64_t place, HostFailure how, const std::function<void()>& act) {
  FaultRun run;
  StandIn::Journal::Start();
  StandIn::Faults::FailAt(place, how);
  run.escaped = Escaped(act);
  run.struck = StandIn::Faults::Struck();
  StandIn::Faults::Disarm();
  run.journal = StandIn::Journal::Entries();
  const auto fault = std::find_if(run.journal.begin(), run.journal.end(),
                                  [](const auto& entry) { return entry.rfind("fault: ", 0) == 0; });
  if (fault != run.journal.end()) run.fault = *fault;
  return run;
}

FaultRun RunWithFailing(ServerTest& test, const FailingCrossing& failing,
                        const std::function<void()>& arrange, const std::function<void()>& act) {
  test.Restart();
  arrange();
  StandIn::Journal::Start();
  act();
  const uint64_t place = PlaceOf(failing, StandIn::Journal::Entries());
  if (place == 0) return {};
  test.Restart();
  arrange();
  FaultRun run = RunFailing(place, failing.how, act);
  EXPECT_TRUE(NothingBetween(run.journal, failing.crossing, "fault: *"));
  return run;
}

std::vector<std::string> FailEachCrossingInTurn(ServerTest& test,
                                                const std::function<void()>& arrange,
                                                const std::function<void()>& act,
                                                const std::function<void(const FaultRun&)>& check) {
  std::vector<std::string> struck;
  for (uint64_t n = 1;; ++n) {
    const HostFailure how = n % 2 == 1 ? HostFailure::BadAlloc : HostFailure::Foreign;
    SCOPED_TRACE((how == HostFailure::BadAlloc ? "std::bad_alloc" : "foreign failure") +
                 std::string(" at crossing ") + std::to_string(n));
    test.TearDown();
    const std::size_t liveBlocks = StandIn::GameHeap::LiveBlocks();
    const uint64_t allocationsBefore = StandIn::GameHeap::TotalAllocations();
    test.SetUp();
    arrange();
    const FaultRun run = RunFailing(n, how, act);
    SCOPED_TRACE(run.fault);
    check(run);
    test.TearDown();
    if (run.fault == kFreeLookupFails) StandIn::GameHeap::ReleaseBlocksMadeSince(allocationsBefore);
    EXPECT_EQ(StandIn::GameHeap::LiveBlocks(), liveBlocks) << "game heap blocks not given back";
    if (testing::Test::HasFailure()) {
      std::string listing;
      for (const std::string& entry : run.journal) listing += "\n  " + entry;
      ADD_FAILURE() << "journal of the failing run:" << listing;
      break;
    }
    if (!run.struck) break;
    struck.push_back(run.fault);
  }
  test.SetUp();
  return struck;
}
