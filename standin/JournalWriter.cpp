// The recorder behind both sides of the journal: what readers call (Journal.h) and what the host
// library's crossings write with (JournalWriter.h).
#include "standin/JournalWriter.h"

#include <algorithm>
#include <atomic>
#include <mutex>

namespace StandIn::Journal {

std::atomic<Mode> mode{Mode::Off};

namespace {

struct Recorder {
  std::mutex Lock;
  std::vector<std::string> Calls;  // the calls recorded under Mode::Named
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
  const Mode next = calls.empty() ? Mode::All : Mode::Named;
  recorder.Calls = std::move(calls);
  mode.store(next, std::memory_order_relaxed);
}

void Stop() {
  mode.store(Mode::Off, std::memory_order_relaxed);
}

bool Named(const char* key) {
  Recorder& recorder = TheRecorder();
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

std::vector<Entry> Peek() {
  Recorder& recorder = TheRecorder();
  std::lock_guard<std::mutex> guard(recorder.Lock);
  return recorder.Entries;
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
  if (mode.load(std::memory_order_relaxed) != Mode::Off)
    recorder.Entries.push_back(std::move(entry));
}

}  // namespace StandIn::Journal
