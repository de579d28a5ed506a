// The journal's writer side, for the host library's own crossings alone: readers see only
// Journal.h. While the journal is off, a crossing costs one relaxed load of `mode`, read in line.
#pragma once

#include <atomic>
#include <cstdint>

#include "standin/Journal.h"

namespace StandIn::Journal {

enum class Mode : uint8_t { Off, All, Named };
// What is recorded now; changed by Start and Stop only.
extern std::atomic<Mode> mode;

// Whether the call `key` is among those Start named.
bool Named(const char* key);
// Whether an entry for the call `key` is recorded now.
inline bool Wants(const char* key) {
  const Mode now = mode.load(std::memory_order_relaxed);
  return now == Mode::All || (now == Mode::Named && Named(key));
}
// Whether every crossing is recorded now.
inline bool RecordingAll() {
  return mode.load(std::memory_order_relaxed) == Mode::All;
}
// Appends `entry`, which its writer built because Wants(its call) or RecordingAll().
void Append(Entry entry);
// Appends the entry that is no call, of line `describe()`, when every crossing is recorded.
template <typename Describe>
void Record(Describe&& describe) {
  if (RecordingAll()) Append(Entry{describe(), {}, {}});
}

}  // namespace StandIn::Journal
