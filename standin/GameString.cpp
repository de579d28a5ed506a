#include "standin/GameString.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <optional>

#include <fmt/format.h>

#include "standin/GameHeap.h"
#include "common/Utf8.h"

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

std::string UnreadableBecause(const FString& text) {
  if (text.Count < 0 || text.Count > text.Capacity) {
    return fmt::format("string has count {} and capacity {}", text.Count, text.Capacity);
  }
  if (text.Chars == nullptr) {
    return text.Count == 0 ? std::string()
                           : fmt::format("string of count {} without a buffer", text.Count);
  }
  // A lookup, not a walk over the ledger: under AddressSanitizer the ledger remembers a great
  // many released addresses, and every string handed to the game passes here.
  const std::optional<std::size_t> size = GameHeap::LiveBlockSize(text.Chars);
  if (!size) {
    return fmt::format("string buffer {} is not a live game heap block",
                       static_cast<const void*>(text.Chars));
  }
  if (*size < static_cast<std::size_t>(text.Capacity) * sizeof(WideChar)) {
    return fmt::format("string buffer {} of {} bytes is smaller than its capacity of {} characters",
                       static_cast<const void*>(text.Chars), *size, text.Capacity);
  }
  return {};
}

std::string UnsoundBecause(const FString& text) {
  std::string flaw = UnreadableBecause(text);
  if (flaw.empty() && text.Count != 0 && text.Chars[text.Count - 1] != 0) {
    flaw = fmt::format("string of count {} without its terminating 0", text.Count);
  }
  return flaw;
}

std::string TextOf(const FString* text) {
  if (text == nullptr || text->Count == 0) return {};
  const WideChar* const begin = text->Chars;
  const WideChar* const end = std::find(begin, begin + text->Count, WideChar(0));
  return Text::EncodeUtf8(WideString(begin, end));
}

}  // namespace StandIn
