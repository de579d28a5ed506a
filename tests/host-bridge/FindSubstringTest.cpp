// The substring search in its four modes, its start positions, its case folding and its use of
// the game heap, with a differential check against the model of the search the fuzzer shares.
#include "host-bridge/FString.h"

#include <climits>
#include <iterator>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "standin/HeapAndFaults.h"
#include "standin/Journal.h"
#include "standin/World.h"
#include "support/FindSubstringModel.h"
#include "support/JournalMatch.h"

namespace {

using StandIn::GameHeap::LiveBlocks;
using StandIn::GameHeap::TotalAllocations;
using StandIn::GameHeap::TotalReleases;

constexpr int32_t kNoStart = -1;
constexpr int32_t kIgnoreCase = 1;
constexpr int32_t kMatchCase = 0;
constexpr int32_t kFromEnd = 1;
constexpr int32_t kFromStart = 0;

int32_t Find(const WideChar* text, const WideChar* pattern, int32_t ignoreCase, int32_t fromEnd,
             int32_t start = kNoStart) {
  return FindSubstring(FString(text), pattern, ignoreCase, fromEnd, start);
}

TEST(FindSubstringTest, FindsAWordIgnoringCaseOnlyWhenAskedTo) {
  EXPECT_EQ(Find(QV_WIDE("my mission"), QV_WIDE("MISSION"), kIgnoreCase, kFromStart), 3);
  EXPECT_EQ(Find(QV_WIDE("my mission"), QV_WIDE("MISSION"), kMatchCase, kFromStart), -1);
  EXPECT_EQ(Find(QV_WIDE("my mission"), QV_WIDE("MISSION"), kIgnoreCase, kFromEnd), 3);
  EXPECT_EQ(Find(QV_WIDE("my mission"), QV_WIDE("MISSION"), kMatchCase, kFromEnd), -1);
  // Only the flag value 1 ignores case.
  for (const int32_t flag : {2, -1, INT32_MIN}) {
    EXPECT_EQ(Find(QV_WIDE("my mission"), QV_WIDE("MISSION"), flag, kFromStart), -1) << flag;
    EXPECT_EQ(Find(QV_WIDE("my mission"), QV_WIDE("MISSION"), flag, kFromEnd), -1) << flag;
  }
  // Any non-zero from-end flag searches from the end.
  EXPECT_EQ(Find(QV_WIDE("abab"), QV_WIDE("ab"), kMatchCase, -7), 2);
}

TEST(FindSubstringTest, NullPatternFindsNothingInEveryMode) {
  for (const int32_t ignoreCase : {0, 1}) {
    for (const int32_t fromEnd : {0, 1}) {
      EXPECT_EQ(Find(QV_WIDE("abc"), nullptr, ignoreCase, fromEnd), -1);
      EXPECT_EQ(Find(QV_WIDE(""), nullptr, ignoreCase, fromEnd), -1);
    }
  }
}

TEST(FindSubstringTest, EmptyPatternDependsOnTheMode) {
  const WideChar* empty = QV_WIDE("");
  // From the start ignoring case an empty pattern never matches.
  EXPECT_EQ(Find(QV_WIDE("abc"), empty, kIgnoreCase, kFromStart), -1);
  EXPECT_EQ(Find(empty, empty, kIgnoreCase, kFromStart), -1);
  // Case-sensitive from the start it matches at the starting point.
  EXPECT_EQ(Find(QV_WIDE("abc"), empty, kMatchCase, kFromStart), 0);
  EXPECT_EQ(Find(QV_WIDE("abc"), empty, kMatchCase, kFromStart, 1), 1);
  EXPECT_EQ(Find(empty, empty, kMatchCase, kFromStart), 0);
  EXPECT_EQ(Find(empty, empty, kMatchCase, kFromStart, 0), -1);
  // From the end it matches just before the end limit.
  for (const int32_t ignoreCase : {kIgnoreCase, kMatchCase}) {
    EXPECT_EQ(Find(QV_WIDE("abc"), empty, ignoreCase, kFromEnd), 2);
    EXPECT_EQ(Find(QV_WIDE("abc"), empty, ignoreCase, kFromEnd, 1), 0);
    EXPECT_EQ(Find(QV_WIDE("abc"), empty, ignoreCase, kFromEnd, 0), -1);
    EXPECT_EQ(Find(empty, empty, ignoreCase, kFromEnd), -1);
  }
}

TEST(FindSubstringTest, StartPositionFromTheStartIsClampedToTheLastCharacter) {
  for (const int32_t ignoreCase : {kIgnoreCase, kMatchCase}) {
    EXPECT_EQ(Find(QV_WIDE("abc"), QV_WIDE("c"), ignoreCase, kFromStart, 10), 2);
    EXPECT_EQ(Find(QV_WIDE("abc"), QV_WIDE("bc"), ignoreCase, kFromStart, 10), -1);
    EXPECT_EQ(Find(QV_WIDE("abc"), QV_WIDE("c"), ignoreCase, kFromStart, INT32_MAX), 2);
    EXPECT_EQ(Find(QV_WIDE("abab"), QV_WIDE("ab"), ignoreCase, kFromStart, 1), 2);
    // A negative start other than -1 starts at the beginning.
    EXPECT_EQ(Find(QV_WIDE("abab"), QV_WIDE("ab"), ignoreCase, kFromStart, -5), 0);
    EXPECT_EQ(Find(QV_WIDE("abab"), QV_WIDE("ab"), ignoreCase, kFromStart, INT32_MIN), 0);
    // An empty string with a start position reads nothing.
    EXPECT_EQ(Find(QV_WIDE(""), QV_WIDE("a"), ignoreCase, kFromStart, 0), -1);
    EXPECT_EQ(Find(QV_WIDE(""), QV_WIDE("a"), ignoreCase, kFromStart, 5), -1);
  }
}

TEST(FindSubstringTest, StartPositionFromTheEndAdmitsOnlyMatchesEndingBeforeIt) {
  for (const int32_t ignoreCase : {kIgnoreCase, kMatchCase}) {
    EXPECT_EQ(Find(QV_WIDE("abab"), QV_WIDE("ab"), ignoreCase, kFromEnd), 2);
    EXPECT_EQ(Find(QV_WIDE("abab"), QV_WIDE("ab"), ignoreCase, kFromEnd, 3), 0);
    EXPECT_EQ(Find(QV_WIDE("abab"), QV_WIDE("ab"), ignoreCase, kFromEnd, 4), 2);
    EXPECT_EQ(Find(QV_WIDE("abab"), QV_WIDE("ab"), ignoreCase, kFromEnd, INT32_MAX), 2);
    EXPECT_EQ(Find(QV_WIDE("abab"), QV_WIDE("ab"), ignoreCase, kFromEnd, 1), -1);
    EXPECT_EQ(Find(QV_WIDE("abab"), QV_WIDE("ab"), ignoreCase, kFromEnd, -5), -1);
    EXPECT_EQ(Find(QV_WIDE("abab"), QV_WIDE(""), ignoreCase, kFromEnd, INT32_MIN), -1);
    EXPECT_EQ(Find(QV_WIDE("ab"), QV_WIDE("abc"), ignoreCase, kFromEnd), -1);
  }
}

TEST(FindSubstringTest, CaseFoldingCoversTheLettersAToZ) {
  const WideChar lower[] = QV_WIDE("abcdefghijklmnopqrstuvwxyz");
  const WideChar upper[] = QV_WIDE("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  for (int i = 0; i < 26; ++i) {
    EXPECT_EQ(Platform::ToUpper(lower[i]), upper[i]);
    EXPECT_EQ(Platform::ToUpper(upper[i]), upper[i]);
  }
  for (const int32_t fromEnd : {kFromStart, kFromEnd}) {
    EXPECT_EQ(Find(lower, upper, kIgnoreCase, fromEnd), 0);
    EXPECT_EQ(Find(upper, lower, kIgnoreCase, fromEnd), 0);
    // The neighbours of the letters are not letters: '@' is not '`', '[' is not '{'.
    EXPECT_EQ(Find(QV_WIDE("@["), QV_WIDE("`{"), kIgnoreCase, fromEnd), -1);
  }
  EXPECT_EQ(Platform::CompareNoCase(QV_WIDE("MiSsIoN"), QV_WIDE("mission"), 7), 0);
  EXPECT_NE(Platform::CompareNoCase(QV_WIDE("mission"), QV_WIDE("missio"), 7), 0);
  EXPECT_EQ(Platform::CompareNoCase(QV_WIDE("missionA"), QV_WIDE("missionB"), 7), 0);
}

TEST(FindSubstringTest, OnlyTheSearchFromTheEndIgnoringCaseUsesTheGameHeap) {
  const FString text(QV_WIDE("Mission: Escort the Mission"));
  const WideChar* pattern = QV_WIDE("mission");

  const std::size_t live = LiveBlocks();
  const uint64_t allocations = TotalAllocations();
  const uint64_t releases = TotalReleases();
  EXPECT_EQ(FindSubstring(text, pattern, kIgnoreCase, kFromEnd, kNoStart), 20);
  // An upper-case copy of the text and one of the pattern, both released again.
  EXPECT_EQ(TotalAllocations(), allocations + 2);
  EXPECT_EQ(TotalReleases(), releases + 2);
  EXPECT_EQ(LiveBlocks(), live);

  EXPECT_EQ(FindSubstring(text, pattern, kIgnoreCase, kFromStart, kNoStart), 0);
  EXPECT_EQ(FindSubstring(text, pattern, kMatchCase, kFromStart, kNoStart), -1);
  EXPECT_EQ(FindSubstring(text, pattern, kMatchCase, kFromEnd, kNoStart), -1);
  EXPECT_EQ(FindSubstring(text, pattern, 2, kFromEnd, 5), -1);
  EXPECT_EQ(TotalAllocations(), allocations + 2);
}

TEST(FindSubstringTest, GameHeapBlocksOfTheSearchFromTheEndIgnoringCase) {
  struct Case {
    const char* Name;
    const WideChar* Text;
    JournalEntries Crossings;
  };
  // The text's upper-case copy has a capacity of exactly its Count (none for an empty text); the
  // pattern's is made as any string from text ("mission": Count 8, capacity 8 + 3 + 16 = 27).
  const Case cases[] = {
      {"a text of 27 characters",
       QV_WIDE("Mission: Escort the Mission"),
       {R"(GetAddress("FMemory.Malloc"))", "FMemory.Malloc(56, 0)",
        R"(GetAddress("FMemory.Malloc"))", "FMemory.Malloc(54, 0)", R"(GetAddress("FMemory.Free"))",
        "FMemory.Free(54 bytes)", R"(GetAddress("FMemory.Free"))", "FMemory.Free(56 bytes)"}},
      {"an empty text",
       QV_WIDE(""),
       {R"(GetAddress("FMemory.Malloc"))", "FMemory.Malloc(54, 0)", R"(GetAddress("FMemory.Free"))",
        "FMemory.Free(54 bytes)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    const FString text(c.Text);
    StandIn::Journal::Start();
    const int32_t found = FindSubstring(text, QV_WIDE("mission"), kIgnoreCase, kFromEnd, kNoStart);
    StandIn::Journal::Stop();
    EXPECT_EQ(found, c.Text[0] == 0 ? -1 : 20);
    EXPECT_TRUE(IsExactly(StandIn::Journal::Entries(), c.Crossings));
  }
}

// Cases compared with the model, and those of them with a match.
struct Tally {
  int Cases = 0;
  int Found = 0;
};

// FindSubstring of `pattern` in `string` (holding `text`) agrees with the model for every
// combination of the flags and starts; each comparison is counted in `tally`.
template <typename IgnoreCaseFlags, typename FromEndFlags>
testing::AssertionResult AgreesWithModel(const WideString& text, const FString& string,
                                         const WideString& pattern,
                                         const IgnoreCaseFlags& ignoreCaseFlags,
                                         const FromEndFlags& fromEndFlags,
                                         const std::vector<int32_t>& starts, Tally& tally) {
  for (const int32_t ignoreCase : ignoreCaseFlags) {
    for (const int32_t fromEnd : fromEndFlags) {
      for (const int32_t start : starts) {
        const int32_t expected =
            ModelFindSubstring(text, pattern.c_str(), ignoreCase, fromEnd, start);
        const int32_t actual = FindSubstring(string, pattern.c_str(), ignoreCase, fromEnd, start);
        if (actual != expected) {
          return testing::AssertionFailure()
                 << "text '" << FString(text.c_str()).ToUtf8() << "' pattern '"
                 << FString(pattern.c_str()).ToUtf8() << "' ignoreCase " << ignoreCase
                 << " fromEnd " << fromEnd << " start " << start << ": " << actual << ", the model "
                 << expected;
        }
        ++tally.Cases;
        tally.Found += expected >= 0 ? 1 : 0;
      }
    }
  }
  return testing::AssertionSuccess();
}

WideString RandomText(std::mt19937& random, std::size_t maxLength) {
  // Few letters, so that matches are frequent; both cases, and a letter outside a-z.
  static const WideChar alphabet[] = {u'a', u'A', u'b', u'B', u'\u00E9', u'\u00C9'};
  std::uniform_int_distribution<std::size_t> lengthOf(0, maxLength);
  std::uniform_int_distribution<std::size_t> letterOf(0, std::size(alphabet) - 1);
  WideString text(lengthOf(random), u'a');
  for (WideChar& c : text) {
    c = alphabet[letterOf(random)];
  }
  return text;
}

TEST(FindSubstringTest, AgreesWithAPlainModelOnGeneratedCases) {
  std::mt19937 random(20240611);
  const int32_t ignoreCaseFlags[] = {0, 1, 2, -1};
  const int32_t fromEndFlags[] = {0, 1, 5};
  Tally tally;
  for (int round = 0; round < 300; ++round) {
    const WideString text = RandomText(random, 9);
    const FString string(text.c_str());
    const int32_t length = static_cast<int32_t>(text.size());
    std::vector<int32_t> starts = {INT32_MIN, INT32_MAX};
    for (int32_t start = -5; start <= length + 3; ++start) {
      starts.push_back(start);
    }
    for (int p = 0; p < 3; ++p) {
      const WideString pattern = RandomText(random, 3);
      ASSERT_TRUE(
          AgreesWithModel(text, string, pattern, ignoreCaseFlags, fromEndFlags, starts, tally));
    }
  }
  // The generator must reach both outcomes often enough to mean something.
  EXPECT_GT(tally.Cases, 50000);
  EXPECT_GT(tally.Found, tally.Cases / 5);
  EXPECT_GT(tally.Cases - tally.Found, tally.Cases / 5);
}

// Long texts of mostly one filler letter, so that the search from the start skips four
// characters at a time between candidates, over characters far from Latin-1: Greek, Cyrillic and
// Latin Extended case pairs, a CJK character, a surrogate pair and a lone surrogate.
WideString LongRandomText(std::mt19937& random, std::size_t maxUnits) {
  static const WideString pieces[] = {
      WideString(1, WideChar(0x03B1)),
      WideString(1, WideChar(0x0391)),  // alpha
      WideString(1, WideChar(0x0434)),
      WideString(1, WideChar(0x0414)),  // de
      WideString(1, WideChar(0x0161)),
      WideString(1, WideChar(0x0160)),                 // s caron
      WideString(1, WideChar(0x4E2D)),                 // CJK
      WideString{WideChar(0xD83D), WideChar(0xDE00)},  // U+1F600
      WideString(1, WideChar(0xDC00)),                 // lone surrogate
      WideString(1, u'a'),
      WideString(1, u'A'),
  };
  std::uniform_int_distribution<std::size_t> lengthOf(0, maxUnits);
  std::uniform_int_distribution<std::size_t> pieceOf(0, std::size(pieces) - 1);
  std::bernoulli_distribution filler(maxUnits > 8 ? 0.8 : 0.0);
  const std::size_t length = lengthOf(random);
  WideString text;
  while (text.size() < length)
    text += filler(random) ? WideString(1, u'x') : pieces[pieceOf(random)];
  return text;
}

TEST(FindSubstringTest, AgreesWithAPlainModelBeyondLatin1OnLongTexts) {
  std::mt19937 random(20261207);
  const int32_t ignoreCaseFlags[] = {0, 1};
  const int32_t fromEndFlags[] = {0, 1};
  Tally tally;
  for (int round = 0; round < 400; ++round) {
    const WideString text = LongRandomText(random, 40);
    const FString string(text.c_str());
    const int32_t length = static_cast<int32_t>(text.size());
    std::uniform_int_distribution<int32_t> startOf(-1, length + 1);
    for (int p = 0; p < 4; ++p) {
      const WideString pattern = LongRandomText(random, 3);
      const std::vector<int32_t> starts = {-1, 0, startOf(random), startOf(random)};
      ASSERT_TRUE(
          AgreesWithModel(text, string, pattern, ignoreCaseFlags, fromEndFlags, starts, tally));
    }
  }
  EXPECT_GT(tally.Cases, 20000);
  EXPECT_GT(tally.Found, tally.Cases / 10);
  EXPECT_GT(tally.Cases - tally.Found, tally.Cases / 5);
}

}  // namespace
