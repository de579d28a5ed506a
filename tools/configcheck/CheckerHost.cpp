#include "tools/configcheck/CheckerHost.h"

#include <atomic>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "host-bridge/HostApi.h"
#include "common/Utf8.h"

namespace {

std::atomic<uint64_t> liveBlocks{0};

// As the game's: null when the heap cannot give the block, which the host bridge reports.
void* Malloc(uint64_t size, uint32_t /*alignment*/) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block != nullptr) ++liveBlocks;
  return block;
}

void* Realloc(void* block, uint64_t size) {
  return std::realloc(block, size == 0 ? 1 : size);
}

void Free(void* block) {
  --liveBlocks;
  std::free(block);
}

}  // namespace

namespace CheckerHost {

uint64_t LiveBlocks() {
  return liveBlocks;
}

}  // namespace CheckerHost

void* GetAddress(const std::string& key) {
  if (key == "FMemory.Malloc") return reinterpret_cast<void*>(&Malloc);
  if (key == "FMemory.Realloc") return reinterpret_cast<void*>(&Realloc);
  if (key == "FMemory.Free") return reinterpret_cast<void*>(&Free);
  throw std::logic_error("the config checker's host has no game function \"" + key + "\"");
}

namespace HostApi::Tools {

std::string Utf8Encode(const WideString& text) {
  return Text::EncodeUtf8(text);
}

WideString Utf8Decode(const std::string& text) {
  return Text::DecodeUtf8(text);
}

}  // namespace HostApi::Tools
