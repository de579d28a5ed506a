#include "standin/FunctionTable.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

#include "standin/Fatal.h"

namespace StandIn::FunctionTable {
namespace {

// Equality of two keys of the same length; those of 8 to 16 bytes, most of them, by two
// overlapping word loads.
bool SameText(const char* a, const char* b, std::size_t size) {
  if (size < 8 || size > 16) return std::memcmp(a, b, size) == 0;
  uint64_t words[4];
  std::memcpy(&words[0], a, 8);
  std::memcpy(&words[1], a + size - 8, 8);
  std::memcpy(&words[2], b, 8);
  std::memcpy(&words[3], b + size - 8, 8);
  return words[0] == words[2] && words[1] == words[3];
}

// Keys grouped by their length: a few dozen names of mostly distinct lengths, so a lookup is an
// index and usually one comparison, with no hash to compute (lookups come with every game call
// and every game heap block a plugin takes or gives back).
template <typename T>
class KeyTable {
 public:
  void Set(const std::string& key, T value) {
    if (T* found = Find(key)) {
      *found = value;
      return;
    }
    if (key.size() >= byLength_.size()) byLength_.resize(key.size() + 1);
    byLength_[key.size()].push_back({key, value});
  }

  const T* Get(const std::string& key) const { return const_cast<KeyTable*>(this)->Find(key); }

 private:
  struct Slot {
    std::string Key;
    T Value;
  };

  T* Find(const std::string& key) {
    const std::size_t size = key.size();
    if (size >= byLength_.size()) return nullptr;
    for (Slot& slot : byLength_[size]) {
      if (SameText(slot.Key.data(), key.data(), size)) return &slot.Value;
    }
    return nullptr;
  }

  std::vector<std::vector<Slot>> byLength_;
};

// Filled by the host library's own static initialisers, before anything can look a key up, and
// only read from then on, so lookups take no lock; an addition after the first lookup would race
// with them and is refused.
struct Table {
  std::atomic<bool> Sealed{false};
  KeyTable<void*> Functions;
  KeyTable<FieldLocator> Fields;
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
  TableToFill(key).Functions.Set(key, entry);
}

void AddField(const std::string& key, FieldLocator locator) {
  TableToFill(key).Fields.Set(key, locator);
}

void* Function(const std::string& key) {
  // Resolved once: the hottest path of the host, taken with every game heap block.
  static const Table& table = TableToRead();
  void* const* entry = table.Functions.Get(key);
  if (entry == nullptr) Fatal("GetAddress: the game has no function '" + key + "'");
  return *entry;
}

uint64_t Field(const void* object, const std::string& key) {
  const Table& table = TableToRead();
  const FieldLocator* locator = table.Fields.Get(key);
  if (locator == nullptr) Fatal("GetAddress: the game has no field '" + key + "'");
  return (*locator)(object);
}

bool HasFunction(const std::string& key) {
  return TableToRead().Functions.Get(key) != nullptr;
}

}  // namespace StandIn::FunctionTable
