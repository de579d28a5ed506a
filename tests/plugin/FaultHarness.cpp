#include "plugin/FaultHarness.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "standin/HeapAndFaults.h"
#include "standin/Journal.h"

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

FaultRun RunFailing(uint64_t place, HostFailure how, Lasting lasting,
                    const std::function<void()>& act) {
  FaultRun run;
  run.lasting = lasting;
  StandIn::Journal::Start();
  if (lasting == Lasting::Once) {
    StandIn::Faults::FailAt(place, how);
  } else {
    StandIn::Faults::FailFrom(place, how);
  }
  run.escaped = Escaped(act);
  run.struck = StandIn::Faults::Struck();
  StandIn::Faults::Disarm();
  run.journal = StandIn::Journal::Entries();
  run.faults = Matching(run.journal, "fault: *");
  if (!run.faults.empty()) run.fault = run.faults.front();
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
  FaultRun run = RunFailing(place, failing.how, Lasting::Once, act);
  EXPECT_TRUE(NothingBetween(run.journal, failing.crossing, "fault: *"));
  return run;
}

namespace {

// One run of FailEachCrossingInTurn on a fresh server of `test`; false when a check failed.
bool CheckedRun(ServerTest& test, const FaultRun& run,
                const std::function<void(const FaultRun&)>& check,
                const std::function<bool(const FaultRun&)>& mayKeepBlocks, std::size_t liveBlocks,
                uint64_t allocationsBefore) {
  SCOPED_TRACE(run.fault);
  check(run);
  test.TearDown();
  if (mayKeepBlocks(run)) StandIn::GameHeap::ReleaseBlocksMadeSince(allocationsBefore);
  EXPECT_EQ(StandIn::GameHeap::LiveBlocks(), liveBlocks) << "game heap blocks not given back";
  if (!testing::Test::HasFailure()) return true;
  std::string listing;
  for (const std::string& entry : run.journal) listing += "\n  " + entry;
  ADD_FAILURE() << "journal of the failing run:" << listing;
  return false;
}

}  // namespace

std::vector<std::string> FailEachCrossingInTurn(
    ServerTest& test, const std::function<void()>& arrange, const std::function<void()>& act,
    const std::function<void(const FaultRun&)>& check,
    const std::function<bool(const FaultRun&)>& mayKeepBlocks,
    const std::vector<Lasting>& lastings) {
  std::vector<std::string> struck;
  for (uint64_t n = 1;; ++n) {
    const HostFailure how = n % 2 == 1 ? HostFailure::BadAlloc : HostFailure::Foreign;
    bool reached = false;
    for (const Lasting lasting : lastings) {
      SCOPED_TRACE((how == HostFailure::BadAlloc ? "std::bad_alloc" : "foreign failure") +
                   (lasting == Lasting::Once ? " once at crossing " + std::to_string(n)
                                             : " from crossing " + std::to_string(n) + " on"));
      test.TearDown();
      const std::size_t liveBlocks = StandIn::GameHeap::LiveBlocks();
      const uint64_t allocationsBefore = StandIn::GameHeap::TotalAllocations();
      test.SetUp();
      arrange();
      const FaultRun run = RunFailing(n, how, lasting, act);
      if (!CheckedRun(test, run, check, mayKeepBlocks, liveBlocks, allocationsBefore)) {
        test.SetUp();
        return struck;
      }
      reached = run.struck;
      if (!reached) break;
      struck.push_back(run.fault);
    }
    if (!reached) break;
  }
  test.SetUp();
  return struck;
}
