#include "HostShare.h"

#include <benchmark/benchmark.h>

#include "Measure.h"
#include "host/HostApi.h"

double HostNanosPerFilter(const std::vector<std::string>& entries, int64_t calls) {
  using Malloc = void* (*)(uint64_t size, uint32_t alignment);
  using Free = void (*)(void* block);
  return NanosPerCall(calls, [&] {
    for (const std::string& entry : entries) {
      const WideString text = HostApi::Tools::Utf8Decode(entry);
      const auto allocate = reinterpret_cast<Malloc>(GetAddress("FMemory.Malloc"));
      void* block = allocate((text.size() + 1) * sizeof(WideChar), 0);
      benchmark::DoNotOptimize(block);
      reinterpret_cast<Free>(GetAddress("FMemory.Free"))(block);
    }
  });
}
