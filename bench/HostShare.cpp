#include "HostShare.h"

#include "host-bridge/HostApi.h"

void HostCrossings(const std::vector<std::string>& entries) {
  using Malloc = void* (*)(uint64_t size, uint32_t alignment);
  using Free = void (*)(void* block);
  // Reached through the host's table, the heap's calls cannot be optimised away.
  for (const std::string& entry : entries) {
    const WideString text = HostApi::Tools::Utf8Decode(entry);
    const auto allocate = reinterpret_cast<Malloc>(GetAddress("FMemory.Malloc"));
    void* block = allocate((text.size() + 1) * sizeof(WideChar), 0);
    reinterpret_cast<Free>(GetAddress("FMemory.Free"))(block);
  }
}
