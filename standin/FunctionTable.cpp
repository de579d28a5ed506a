#include "standin/FunctionTable.h"

#include <unordered_map>

#include "standin/Fatal.h"

namespace StandIn::FunctionTable {
namespace {

// Filled by the host library's own static initialisers, before anything can look a key up, and
// only read from then on, so lookups take no lock.
struct Table {
  std::unordered_map<std::string, void*> Functions;
  std::unordered_map<std::string, FieldLocator> Fields;
};

Table& TheTable() {
  static Table table;
  return table;
}

}  // namespace

void AddFunction(const std::string& key, void* entry) {
  TheTable().Functions[key] = entry;
}

void AddField(const std::string& key, FieldLocator locator) {
  TheTable().Fields[key] = locator;
}

void* Function(const std::string& key) {
  const auto& functions = TheTable().Functions;
  const auto found = functions.find(key);
  if (found == functions.end()) Fatal("GetAddress: the game has no function '" + key + "'");
  return found->second;
}

uint64_t Field(const void* object, const std::string& key) {
  const auto& fields = TheTable().Fields;
  const auto found = fields.find(key);
  if (found == fields.end()) Fatal("GetAddress: the game has no field '" + key + "'");
  return found->second(object);
}

bool HasFunction(const std::string& key) {
  return TheTable().Functions.count(key) != 0;
}

}  // namespace StandIn::FunctionTable
