// Making a crossing between the plugin and its host fail, the one way the fault tests and the log
// line tests do it: a crossing named by its journal entry, or every crossing of an action in turn.
// The stand-in counts the fallible crossings (host calls and game heap allocations) and fails the
// one armed, once or from there on; runs of one action go the same way up to the crossing that
// fails, so the place of a named crossing is found in a run without a fault.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "standin/HeapAndFaults.h"
#include "support/ServerFixture.h"

using StandIn::Faults::HostFailure;

// How long a fault lasts: a host that fails once and then recovers, or one that has gone bad and
// fails every fallible crossing from the first failing one on, a second try included.
enum class Lasting { Once, FromThereOn };

// The crossing that fails: the `occurrence`th fallible one whose journal entry matches `crossing`
// (an EntryMatches pattern), failing `how`. An empty `crossing`: nothing fails.
struct FailingCrossing {
  std::string crossing;
  int occurrence = 1;
  HostFailure how = HostFailure::BadAlloc;
};
FailingCrossing Fails(std::string crossing, HostFailure how = HostFailure::BadAlloc);
FailingCrossing FailsSecond(std::string crossing);

// An action run with a fault armed.
struct FaultRun {
  Lasting lasting = Lasting::Once;
  bool struck = false;  // the action reached the crossing armed to fail
  // The journal's records of the faults ("fault: ..."), in order: one at most for a fault that
  // struck once, every crossing from the first failing one on for one that lasted.
  JournalEntries faults;
  std::string fault;       // the first of them; "" when none
  std::string escaped;     // what the action let escape ("" nothing), as the host would meet it
  JournalEntries journal;  // what the action made cross, the faults among it
};

// Runs `act` with the `place`th fallible crossing from now failing `how` for as long as
// `lasting` says, the journal started afresh for it; the fault is disarmed afterwards, whatever
// `act` did.
FaultRun RunFailing(uint64_t place, HostFailure how, Lasting lasting,
                    const std::function<void()>& act);

// Runs `act` on a fresh server of `test` made ready by `arrange`, with `failing` failing: a run
// without a fault finds its place among the fallible crossings, a second one, on a fresh server
// again, fails it. The run under the fault; not struck when `act` never makes that crossing.
// Fails the test when the fault struck another crossing than the one named.
FaultRun RunWithFailing(ServerTest& test, const FailingCrossing& failing,
                        const std::function<void()>& arrange, const std::function<void()>& act);

// Each fallible crossing of `act` failing in turn, until a run no longer reaches its fault: for
// n = 1, 2, ... and each of `lastings`, a fresh server of `test`, `arrange`, then `act` with its
// nth crossing failing, once or from there on, by std::bad_alloc at odd n and a type outside
// std::exception at even n, so that every guarded stretch of two crossings or more meets both.
// `check` sees each run on the server it left; then that server stops and the game heap must hold
// what it held before, unless `mayKeepBlocks` says the run's faults excuse blocks left behind
// (given back here, so that the next run starts even). A failed check ends the walk there and
// shows the run's journal. Answers the first fault of each run that struck, as the journal
// records it; the server of `test` is a fresh one afterwards.
std::vector<std::string> FailEachCrossingInTurn(
    ServerTest& test, const std::function<void()>& arrange, const std::function<void()>& act,
    const std::function<void(const FaultRun&)>& check,
    const std::function<bool(const FaultRun&)>& mayKeepBlocks,
    const std::vector<Lasting>& lastings = {Lasting::Once, Lasting::FromThereOn});
