#include "standin/FunctionTable.h"

#include <map>
#include <mutex>

#include "standin/Fatal.h"

namespace StandIn::FunctionTable {
namespace {

struct Table {
  std::mutex Lock;
  std::map<std::string, void*> Functions;
  std::map<std::string, FieldLocator> Fields;
};

Table& TheTable() {
  static Table table;
  return table;
}

}  // namespace

void AddFunction(const std::string& key, void* entry) {
  Table& table = TheTable();
  std::lock_guard<std::mutex> guard(table.Lock);
  table.Functions[key] = entry;
}

void AddField(const std::string& key, FieldLocator locator) {
  Table& table = TheTable();
  std::lock_guard<std::mutex> guard(table.Lock);
  table.Fields[key] = locator;
}

void* Function(const std::string& key) {
  Table& table = TheTable();
  std::lock_guard<std::mutex> guard(table.Lock);
  auto found = table.Functions.find(key);
  if (found == table.Functions.end()) {
    Fatal("GetAddress: the game has no function '" + key + "'");
  }
  return found->second;
}

uint64_t Field(const void* object, const std::string& key) {
  FieldLocator locator = nullptr;
  {
    Table& table = TheTable();
    std::lock_guard<std::mutex> guard(table.Lock);
    auto found = table.Fields.find(key);
    if (found == table.Fields.end()) {
      Fatal("GetAddress: the game has no field '" + key + "'");
    }
    locator = found->second;
  }
  return locator(object);
}

bool HasFunction(const std::string& key) {
  Table& table = TheTable();
  std::lock_guard<std::mutex> guard(table.Lock);
  return table.Functions.count(key) != 0;
}

}  // namespace StandIn::FunctionTable
