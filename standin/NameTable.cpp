#include "standin/NameTable.h"

namespace StandIn {
namespace {

// Values start well above small integers, so a number passed where a name belongs is no name.
constexpr uint64_t kFirstValue = 0x4E000000;

}  // namespace

FName NameTable::Intern(const std::string& text) {
  auto found = values_.find(text);
  if (found != values_.end()) return FName{found->second};
  const uint64_t value = kFirstValue + texts_.size();
  texts_.push_back(text);
  values_.emplace(text, value);
  return FName{value};
}

const std::string* NameTable::Find(FName name) const {
  if (name.Value < kFirstValue || name.Value - kFirstValue >= texts_.size()) return nullptr;
  return &texts_[name.Value - kFirstValue];
}

}  // namespace StandIn
