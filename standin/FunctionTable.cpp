#include "standin/FunctionTable.h"

#include <atomic>
#include <unordered_map>

#include "standin/Fatal.h"

namespace StandIn::FunctionTable {
namespace {

// Filled by the host library's own static initialisers, before anything can look a key up, and
// only read from then on. Lookups come with every game call and every game heap block a plugin
// takes or gives back, so they go by hash and take no lock; an addition after the first lookup
// would race with them and is refused.
struct Table {
  std::atomic<bool> Sealed{false};
  std::unordered_map<std::string, void*> Functions;
  std::unordered_map<std::string, FieldLocator> Fields;
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
