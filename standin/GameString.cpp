#include "standin/GameString.h"

#include <cstddef>
#include <cstring>

#include "standin/GameHeap.h"
#include "standin/Utf8.h"

namespace StandIn {

static_assert(sizeof(GameString) == sizeof(FString), "GameString has the FString layout");

void GameString::Assign(const WideString& text) {
  Release();
  if (text.empty()) return;
  count_ = static_cast<int32_t>(text.size() + 1);
  capacity_ = count_;
  chars_ = static_cast<WideChar*>(GameHeap::Allocate(sizeof(WideChar) * capacity_));
  std::memcpy(chars_, text.c_str(), sizeof(WideChar) * count_);
}

void GameString::HandOverTo(FString& storage) {
  storage.Chars = chars_;
  storage.Count = count_;
  storage.Capacity = capacity_;
  chars_ = nullptr;
  count_ = 0;
  capacity_ = 0;
}

void GameString::Release() {
  if (chars_ != nullptr) GameHeap::Release(chars_);
  chars_ = nullptr;
  count_ = 0;
  capacity_ = 0;
}

std::string TextOf(const FString* text) {
  if (text == nullptr) return {};
  return EncodeUtf8(WideString(text->Text()));
}

}  // namespace StandIn
