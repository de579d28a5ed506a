#include "standin/Journal.h"

#include <algorithm>
#include <atomic>
#include <mutex>

namespace StandIn::Journal {
namespace {

struct Recorder {
  std::atomic<bool> On{false};
  std::atomic<bool> All{false};
  std::mutex Lock;
  std::vector<std::string> Calls;  // recorded when not All
  std::vector<Entry> Entries;
};

Recorder& TheRecorder() {
  static Recorder* recorder = new Recorder;  // outlives statics that may still cross at exit
  return *recorder;
}

}  // namespace

void Start(std::vector<std::string> calls) {
  Recorder& recorder = TheRecorder();
  std::lock_guard<std::mutex> guard(recorder.Lock);
  recorder.Entries.clear();
  recorder.All.store(calls.empty(), std::memory_order_relaxed);
  recorder.Calls = std::move(calls);
  recorder.On.store(true, std::memory_order_relaxed);
}

void Stop() {
  TheRecorder().On.store(false, std::memory_order_relaxed);
}

bool RecordingAll() {
  Recorder& recorder = TheRecorder();
  return recorder.On.load(std::memory_order_relaxed) &&
         recorder.All.load(std::memory_order_relaxed);
}

bool Wants(const char* key) {
  Recorder& recorder = TheRecorder();
  if (!recorder.On.load(std::memory_order_relaxed)) return false;
  if (recorder.All.load(std::memory_order_relaxed)) return true;
  std::lock_guard<std::mutex> guard(recorder.Lock);
  return std::find(recorder.Calls.begin(), recorder.Calls.end(), key) != recorder.Calls.end();
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
