#include "standin/FunctionTable.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

#include "standin/Fatal.h"

namespace StandIn::FunctionTable {
namespace {

// Keys are a few dozen names that differ in length or in their first or last eight bytes, so only
// those are mixed rather than every byte; the result's high half, the best mixed, picks the slot.
inline std::size_t KeyHash(const std::string& key) {
  const std::size_t size = key.size();
  uint64_t head = 0;
  uint64_t tail = 0;
  if (size >= 8) {
    std::memcpy(&head, key.data(), 8);  // fixed-size copies compile to single loads
    std::memcpy(&tail, key.data() + size - 8, 8);
  } else {
    std::memcpy(&head, key.data(), size);
  }
  const uint64_t mixed = (head ^ (tail * 0x9E3779B97F4A7C15ull) ^ size) * 0xC2B2AE3D27D4EB4Full;
  return static_cast<std::size_t>(mixed >> 32);
}

// Equality of two keys; those of 8 to 16 bytes, most of them, by two overlapping word loads.
bool SameKey(const std::string& a, const std::string& b) {
  const std::size_t size = a.size();
  if (size != b.size()) return false;
  if (size < 8 || size > 16) return std::memcmp(a.data(), b.data(), size) == 0;
  uint64_t words[4];
  std::memcpy(&words[0], a.data(), 8);
  std::memcpy(&words[1], a.data() + size - 8, 8);
  std::memcpy(&words[2], b.data(), 8);
  std::memcpy(&words[3], b.data() + size - 8, 8);
  return words[0] == words[2] && words[1] == words[3];
}

// Open addressing over a power-of-two number of slots: a lookup is a hash, a mask and usually
// one comparison, with no division (a standard hash map's prime modulus costs more than the rest
// of a lookup here, and lookups come with every game call and every game heap block).
template <typename T>
class KeyTable {
 public:
  void Set(const std::string& key, T value) {
    if (Slot* slot = Find(key)) {
      slot->Value = value;
      return;
    }
    if ((count_ + 1) * 2 > slots_.size()) Grow();
    Place(key, value);
  }

  const T* Get(const std::string& key) const {
    const Slot* slot = const_cast<KeyTable*>(this)->Find(key);
    return slot != nullptr ? &slot->Value : nullptr;
  }

 private:
  struct Slot {
    std::string Key;  // empty: a free slot
    T Value{};
  };

  Slot* Find(const std::string& key) {
    if (slots_.empty()) return nullptr;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = KeyHash(key) & mask;; i = (i + 1) & mask) {
      Slot& slot = slots_[i];
      if (slot.Key.empty()) return nullptr;
      if (SameKey(slot.Key, key)) return &slot;
    }
  }

  void Place(const std::string& key, T value) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = KeyHash(key) & mask;
    while (!slots_[i].Key.empty()) i = (i + 1) & mask;
    slots_[i] = {key, value};
    ++count_;
  }

  void Grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? 64 : old.size() * 2, Slot{});
    count_ = 0;
    for (Slot& slot : old) {
      if (!slot.Key.empty()) Place(slot.Key, slot.Value);
    }
  }

  std::vector<Slot> slots_;
  std::size_t count_ = 0;
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
  void* const* entry = TableToRead().Functions.Get(key);
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
