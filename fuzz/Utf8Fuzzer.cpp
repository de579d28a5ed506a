// Fuzzing of the host's UTF-8 conversions and the engine string's use of them. For any bytes x:
// Utf8Decode(x) never fails and holds well-formed 16-bit text, Utf8Encode of it is well-formed
// UTF-8 that decodes back to the same text, and for well-formed x it is x itself. For the same
// bytes read as 16-bit units w: Utf8Encode(w) is well-formed UTF-8 that decodes to w with each
// unpaired surrogate replaced by U+FFFD. FString::FromUtf8 and ToUtf8 agree with the conversions
// up to the first 0 and return every game heap block they take. Well-formed means as the config
// checker's own validation, written apart from the host's decoder, judges it: the two must agree.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host-bridge/FString.h"
#include "host-bridge/HostApi.h"
#include "standin/HeapAndFaults.h"
#include "tools/configcheck/Utf8Text.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;

[[noreturn]] void Fail(const char* what, const std::string& bytes) {
  std::fprintf(stderr, "%s; input bytes:", what);
  for (unsigned char b : bytes) std::fprintf(stderr, " %02X", b);
  std::fprintf(stderr, "\n");
  std::abort();
}

bool IsHigh(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLow(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// `text` with every surrogate that is not part of a high-low pair replaced by U+FFFD.
WideString PairedOnly(const WideString& text) {
  WideString out = text;
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (IsHigh(out[i]) && i + 1 < out.size() && IsLow(out[i + 1])) {
      ++i;
    } else if (IsHigh(out[i]) || IsLow(out[i])) {
      out[i] = kReplacement;
    }
  }
  return out;
}

WideString UpToFirstZero(const WideString& text) {
  return text.substr(0, text.find(char16_t{0}));
}

void CheckBytes(const std::string& bytes) {
  const WideString decoded = HostApi::Tools::Utf8Decode(bytes);
  if (PairedOnly(decoded) != decoded) Fail("Utf8Decode produced an unpaired surrogate", bytes);
  const std::string encoded = HostApi::Tools::Utf8Encode(decoded);
  if (FirstInvalidByte(encoded)) Fail("Utf8Encode(Utf8Decode(x)) is not well-formed", bytes);
  if (HostApi::Tools::Utf8Decode(encoded) != decoded) {
    Fail("Utf8Decode(Utf8Encode(Utf8Decode(x))) differs from Utf8Decode(x)", bytes);
  }
  if (!FirstInvalidByte(bytes) && encoded != bytes) {
    Fail("well-formed x does not survive Utf8Encode(Utf8Decode(x))", bytes);
  }
  if (FirstInvalidByte(bytes) && decoded.find(kReplacement) == WideString::npos) {
    Fail("malformed x decoded without a replacement character", bytes);
  }

  const FString string = FString::FromUtf8(bytes);
  if (WideString(string.Text()) != UpToFirstZero(decoded)) {
    Fail("FString::FromUtf8 differs from Utf8Decode up to the first 0", bytes);
  }
  if (string.ToUtf8() != HostApi::Tools::Utf8Encode(UpToFirstZero(decoded))) {
    Fail("FString::ToUtf8 differs from Utf8Encode", bytes);
  }
}

void CheckUnits(const std::string& bytes) {
  WideString units;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) << 8 |
                                          static_cast<unsigned char>(bytes[i + 1])));
  }
  const std::string encoded = HostApi::Tools::Utf8Encode(units);
  if (FirstInvalidByte(encoded)) Fail("Utf8Encode(w) is not well-formed", bytes);
  if (HostApi::Tools::Utf8Decode(encoded) != PairedOnly(units)) {
    Fail("Utf8Decode(Utf8Encode(w)) is not w with its unpaired surrogates replaced", bytes);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::size_t liveBefore = StandIn::GameHeap::LiveBlocks();
  CheckBytes(bytes);
  CheckUnits(bytes);
  if (StandIn::GameHeap::LiveBlocks() != liveBefore) {
    Fail("the engine string conversions left game heap blocks behind", bytes);
  }
  return 0;
}
