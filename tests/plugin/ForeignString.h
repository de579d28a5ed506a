// An engine string as another plugin might hand one in: its three fields set as given, over a
// buffer the caller keeps. Nothing is released through the game heap when it goes.
#pragma once

#include <cstdint>

#include "host-bridge/FString.h"

class ForeignString {
 public:
  ForeignString(const WideChar* chars, int32_t count, int32_t capacity) {
    string_.Chars = const_cast<WideChar*>(chars);
    string_.Count = count;
    string_.Capacity = capacity;
  }
  ~ForeignString() {
    string_.Chars = nullptr;
    string_.Count = 0;
    string_.Capacity = 0;
  }
  ForeignString(const ForeignString&) = delete;
  ForeignString& operator=(const ForeignString&) = delete;

  const FString& Get() const { return string_; }

 private:
  FString string_;
};
