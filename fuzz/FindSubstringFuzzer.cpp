// Differential fuzzing of FindSubstring: every input is a text, a pattern, the two flags and a
// start position, and the result must equal the tests' model of the search. Texts may hold
// characters after an embedded 0 (Count beyond the first terminator), and every search must
// leave the game heap ledger as it found it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "host-bridge/FString.h"
#include "standin/GameObjects.h"
#include "standin/HeapAndFaults.h"
#include "support/FindSubstringModel.h"

namespace {

class Input {
 public:
  Input(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Empty() const { return at_ >= size_; }
  uint8_t Byte() { return Empty() ? 0 : data_[at_++]; }
  int32_t Int32() {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = value << 8 | Byte();
    return static_cast<int32_t>(value);
  }
  // Mostly characters of a small alphabet, so that matches happen; sometimes any 16-bit value.
  WideChar Character() {
    // Beyond Latin-1: Greek, Cyrillic and Latin Extended case pairs, a CJK character, the two
    // halves of a surrogate pair, lone surrogates.
    static const WideChar kAlphabet[] = {u'a',   u'b',   u'A',   u'B',   u'z',   u'Z',   u'@',
                                         u'[',   u'`',   u'{',   0x00E9, 0x00C9, 0x03B1, 0x0391,
                                         0x0434, 0x0414, 0x0161, 0x0160, 0x4E2D, 0xD83D, 0xDE00,
                                         0xD800, 0xDC00, 0xFFFF, 0};
    const uint8_t pick = Byte();
    if (pick < 0xF0) return kAlphabet[pick % (sizeof(kAlphabet) / sizeof(kAlphabet[0]))];
    return static_cast<WideChar>(Byte() << 8 | Byte());
  }

 private:
  const uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

int32_t PickStart(Input& input) {
  switch (input.Byte() % 4) {
    case 0:
      return -1;
    case 1:
      return static_cast<int8_t>(input.Byte());  // small, negative ones included
    case 2:
      return input.Int32();
    default:
      return input.Byte() % 2 == 0 ? INT32_MAX : INT32_MIN;
  }
}

int32_t PickFlag(Input& input, int32_t usual) {
  switch (input.Byte() % 4) {
    case 0:
      return 0;
    case 1:
      return usual;
    default:
      return input.Int32();
  }
}

// An FString holding exactly `text` (embedded zeros included) and its terminator, on the game
// heap; Count 0 for an empty text when `withoutBuffer`.
FString MakeString(const WideString& text, bool withoutBuffer) {
  if (text.empty() && withoutBuffer) return FString();
  WideString zeroFree = text + u'x';
  std::replace(zeroFree.begin(), zeroFree.end(), WideChar{0}, u'x');
  FString string(zeroFree.c_str());
  std::copy(text.begin(), text.end(), string.Chars);
  string.Chars[text.size()] = 0;
  string.Count = static_cast<int32_t>(text.size()) + 1;
  return string;
}

[[noreturn]] void Mismatch(const WideString& text, const std::optional<WideString>& pattern,
                           int32_t ignoreCase, int32_t fromEnd, int32_t start, int32_t expected,
                           int32_t actual) {
  std::fprintf(stderr,
               "FindSubstring mismatch: ignoreCase %d fromEnd %d start %d: model %d, "
               "FindSubstring %d\n  text:",
               ignoreCase, fromEnd, start, expected, actual);
  for (WideChar c : text) std::fprintf(stderr, " %04X", static_cast<unsigned>(c));
  std::fprintf(stderr, "\n  pattern:");
  if (!pattern) std::fprintf(stderr, " null");
  for (WideChar c : pattern.value_or(u"")) std::fprintf(stderr, " %04X", static_cast<unsigned>(c));
  std::fprintf(stderr, "\n");
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  Input input(data, size);
  const uint8_t shape = input.Byte();
  const int32_t ignoreCase = PickFlag(input, 1);
  const int32_t fromEnd = PickFlag(input, 1);
  const int32_t start = PickStart(input);

  std::optional<WideString> pattern;
  if ((shape & 1) == 0) {
    pattern.emplace();
    const std::size_t patternLength = input.Byte() % 8;
    while (pattern->size() < patternLength && !input.Empty()) {
      const WideChar c = input.Character();
      if (c == 0) break;  // the pattern is 0-terminated text
      pattern->push_back(c);
    }
  }
  WideString text;
  while (!input.Empty() && text.size() < 4096) text.push_back(input.Character());

  const std::size_t liveBefore = StandIn::GameHeap::LiveBlocks();
  {
    const FString string = MakeString(text, (shape & 2) != 0);
    const WideChar* patternText = pattern ? pattern->c_str() : nullptr;
    const int32_t actual = FindSubstring(string, patternText, ignoreCase, fromEnd, start);
    const int32_t expected = ModelFindSubstring(text, patternText, ignoreCase, fromEnd, start);
    if (actual != expected) {
      Mismatch(text, pattern, ignoreCase, fromEnd, start, expected, actual);
    }
  }
  if (StandIn::GameHeap::LiveBlocks() != liveBefore) {
    std::fprintf(stderr, "FindSubstring left %zu game heap blocks, %zu before\n",
                 StandIn::GameHeap::LiveBlocks(), liveBefore);
    std::abort();
  }
  return 0;
}
