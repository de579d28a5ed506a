#include "standin/Journal.h"

#include <atomic>
#include <mutex>

namespace StandIn::Journal {
namespace {

struct Recorder {
  std::atomic<bool> On{false};
  std::mutex Lock;
  std::vector<Entry> Entries;
};

Recorder& TheRecorder() {
  static Recorder* recorder = new Recorder;  // outlives statics that may still cross at exit
  return *recorder;
}

}  // namespace

void Start() {
  Recorder& recorder = TheRecorder();
  std::lock_guard<std::mutex> guard(recorder.Lock);
  recorder.Entries.clear();
  recorder.On.store(true, std::memory_order_relaxed);
}

void Stop() {
  TheRecorder().On.store(false, std::memory_order_relaxed);
}

bool Recording() {
  return TheRecorder().On.load(std::memory_order_relaxed);
}

std::vector<std::string> Entries() {
  Recorder& recorder = TheRecorder();
  std::lock_guard<std::mutex> guard(recorder.Lock);
  std::vector<std::string> lines;
  lines.reserve(recorder.Entries.size());
  for (const Entry& entry : recorder.Entries) lines.push_back(entry.Text);
  return lines;
}

std::vector<Entry> Take() {
  Recorder& recorder = TheRecorder();
  std::lock_guard<std::mutex> guard(recorder.Lock);
  std::vector<Entry> taken;
  taken.swap(recorder.Entries);
  return taken;
}

void Append(Entry entry) {
  Recorder& recorder = TheRecorder();
  std::lock_guard<std::mutex> guard(recorder.Lock);
  if (recorder.On.load(std::memory_order_relaxed)) recorder.Entries.push_back(std::move(entry));
}

}  // namespace StandIn::Journal
