#include "standin/FunctionTable.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <unordered_map>

#include "standin/Fatal.h"

namespace StandIn::FunctionTable {
namespace {

// Keys are a few dozen names that differ in length or in their first or last eight characters,
// so only those are hashed rather than every byte; a clash would cost one more comparison.
struct KeyHash {
  std::size_t operator()(const std::string& key) const noexcept {
    const std::size_t size = key.size();
    const std::size_t part = std::min<std::size_t>(size, 8);
    uint64_t head = 0;
    uint64_t tail = 0;
    std::memcpy(&head, key.data(), part);
    std::memcpy(&tail, key.data() + size - part, part);
    return static_cast<std::size_t>(head * 0x9E3779B97F4A7C15ull ^
                                    (tail + size) * 0xC2B2AE3D27D4EB4Full);
  }
};

// Filled by the host library's own static initialisers, before anything can look a key up, and
// only read from then on. Lookups come with every game call and every game heap block a plugin
// takes or gives back, so they go by hash and take no lock; an addition after the first lookup
// would race with them and is refused.
struct Table {
  std::atomic<bool> Sealed{false};
  std::unordered_map<std::string, void*, KeyHash> Functions;
  std::unordered_map<std::string, FieldLocator, KeyHash> Fields;
};

Table& TheTable() {
  static Table table;
  return table;
}

Table& TableToFill(const std::string& key) {
  Table& table = TheTable();
  if (table.Sealed.load(std::memory_order_relaxed)) {
    Fatal("FunctionTable: '" + key + "' added after the first lookup");
  }
  return table;
}

const Table& TableToRead() {
  Table& table = TheTable();
  if (!table.Sealed.load(std::memory_order_relaxed)) {
    table.Sealed.store(true, std::memory_order_relaxed);
  }
  return table;
}

}  // namespace

void AddFunction(const std::string& key, void* entry) {
  TableToFill(key).Functions[key] = entry;
}

void AddField(const std::string& key, FieldLocator locator) {
  TableToFill(key).Fields[key] = locator;
}

void* Function(const std::string& key) {
  const Table& table = TableToRead();
  auto found = table.Functions.find(key);
  if (found == table.Functions.end()) {
    Fatal("GetAddress: the game has no function '" + key + "'");
  }
  return found->second;
}

uint64_t Field(const void* object, const std::string& key) {
  const Table& table = TableToRead();
  auto found = table.Fields.find(key);
  if (found == table.Fields.end()) {
    Fatal("GetAddress: the game has no field '" + key + "'");
  }
  return found->second(object);
}

bool HasFunction(const std::string& key) {
  return TableToRead().Functions.count(key) != 0;
}

}  // namespace StandIn::FunctionTable
