// questveto-config-check on files of every shape an operator may hand it, broken ones included:
// its time per byte of the file and its peak memory. The check is the whole command, from reading
// the file to the report, with one mission name to judge.
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <streambuf>
#include <string>

#include <benchmark/benchmark.h>

#include "ThreadClock.h"
#include "tools/configcheck/CheckerHost.h"
#include "tools/configcheck/ConfigCheckCommand.h"

namespace {

constexpr double kMiB = 1024.0 * 1024.0;

// A stream that drops what it is given, so that the report costs its making but no writing.
class Discard : public std::streambuf {
 protected:
  int overflow(int c) override { return c; }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

std::string Repeated(const std::string& piece, std::size_t times) {
  std::string text;
  text.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

// A config whose second entry is `depth` arrays nested in one another: valid JSON that stops the
// plugin's search at that entry.
std::string NestedEntry(std::size_t depth) {
  return R"({"DisabledMissions": ["Hunt", )" + Repeated("[", depth) + Repeated("]", depth) +
         R"(], "ShowMissionNames": true})";
}

// The broken file of the shape operators meet: a member opened `depth` times and never closed.
std::string NestedBroken(std::size_t depth) {
  return Repeated(R"([{"":)", depth);
}

std::string Entries(std::size_t count, std::size_t length) {
  std::string text = R"({"DisabledMissions": [)";
  for (std::size_t i = 0; i < count; ++i) {
    std::string entry = "Mission " + std::to_string(i) + " ";
    entry.resize(length, 'x');
    text += (i == 0 ? "\"" : ", \"") + entry + "\"";
  }
  return text + "]}";
}

std::string OneString(std::size_t length) {
  return R"({"DisabledMissions": [")" + std::string(length, 'a') + R"("]})";
}

// Resident memory of this process as the kernel counts it: now, or the highest since the last
// ResetPeakResident.
std::size_t ResidentKiB(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::string prefix = std::string(field) + ":";
  while (std::getline(status, line)) {
    if (line.compare(0, prefix.size(), prefix) == 0) return std::stoul(line.substr(prefix.size()));
  }
  return 0;
}

// Gives freed memory back to the system and starts the kernel's peak count afresh.
void ResetPeakResident() {
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
}

int Check(const std::string& path) {
  Discard sink;
  std::ostream out(&sink);
  const char* argv[] = {"questveto-config-check", path.c_str(), "Hunt"};
  return RunConfigCheck(3, argv, out, out);
}

// Writes `text` to a file of its own, checks it once for its peak memory, then times the check.
// Counters: the file's size, CPU nanoseconds per byte, the peak growth of resident memory during
// one check and the target it is held to (64 MiB plus 16 times the file's size).
void CheckFile(benchmark::State& state, const std::string& text, int expectedStatus) {
  const std::string path =
      (std::filesystem::temp_directory_path() / ("qv-checker-bench-" + std::to_string(getpid())))
          .string();
  std::ofstream(path, std::ios::binary) << text;

  ResetPeakResident();
  const std::size_t before = ResidentKiB("VmRSS");
  const int status = Check(path);
  const double peak = static_cast<double>(ResidentKiB("VmHWM") - before) * 1024.0;
  if (status != expectedStatus) {
    state.SkipWithError(("exit status " + std::to_string(status)).c_str());
  } else if (CheckerHost::LiveBlocks() != 0) {
    state.SkipWithError("the check left game heap blocks allocated");
  }

  const double start = ThreadNanos();
  for (auto _ : state) benchmark::DoNotOptimize(Check(path));
  const double perCheck =
      (ThreadNanos() - start) / static_cast<double>(std::max<int64_t>(state.iterations(), 1));
  std::remove(path.c_str());

  const double bytes = static_cast<double>(text.size());
  state.SetBytesProcessed(static_cast<int64_t>(text.size()) * state.iterations());
  state.counters["file_MiB"] = bytes / kMiB;
  state.counters["ns_per_byte"] = perCheck / bytes;
  state.counters["peak_MiB"] = peak / kMiB;
  state.counters["limit_MiB"] = 64.0 + 16.0 * bytes / kMiB;
}

void ValidNesting(benchmark::State& state) {
  CheckFile(state, NestedEntry(static_cast<std::size_t>(state.range(0))), 1);
}

void BrokenNesting(benchmark::State& state) {
  CheckFile(state, NestedBroken(static_cast<std::size_t>(state.range(0))), 2);
}

void ManyEntries(benchmark::State& state) {
  CheckFile(state, Entries(static_cast<std::size_t>(state.range(0)), 24), 0);
}

void OneLongString(benchmark::State& state) {
  CheckFile(state, OneString(static_cast<std::size_t>(state.range(0))), 0);
}

}  // namespace

// Depths from 1,000 to 500,000 (a 1 MB file): the cost per byte must not grow with them.
BENCHMARK(ValidNesting)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(500000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BrokenNesting)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond);
// 10,000 entries, and as many as make a 10 MB file.
BENCHMARK(ManyEntries)->Arg(10000)->Arg(370000)->Unit(benchmark::kMillisecond);
BENCHMARK(OneLongString)->Arg(1 << 20)->Unit(benchmark::kMillisecond);
