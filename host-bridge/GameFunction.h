// How the plugin reaches one game function or field: the key is built as a narrow string and
// looked up through the host at every use, since the host may move an entry between calls.
// Nothing is cached and the lookup result is used as it comes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "host-bridge/HostApi.h"

// The game function `key` (a literal, so its length is known without a scan), as a pointer of
// the function type `Signature`.
template <typename Signature, std::size_t N>
Signature* GameFunction(const char (&key)[N]) {
  return reinterpret_cast<Signature*>(GetAddress(std::string(key, N - 1)));
}

// The field `key` inside `object`, as a pointer to `Field`.
template <typename Field, std::size_t N>
Field* GameField(const void* object, const char (&key)[N]) {
  return reinterpret_cast<Field*>(
      static_cast<uintptr_t>(GetAddress(object, std::string(key, N - 1))));
}
