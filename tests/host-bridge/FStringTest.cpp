// Engine strings: constructions, capacity growth, ownership on the game heap, formatting and the
// UTF-8 conversions.
#include "host-bridge/FString.h"

#include <cstring>
#include <utility>

#include <fmt/format.h>
#include <gtest/gtest.h>

#include "standin/HeapAndFaults.h"

namespace {

using StandIn::GameHeap::LiveBlockList;
using StandIn::GameHeap::LiveBlocks;
using StandIn::GameHeap::TotalAllocations;
using StandIn::GameHeap::TotalReleases;

WideString TextOf(const FString& string) {
  return WideString(string.Text());
}

// Size in bytes of the live game heap block at `address`, 0 when there is none.
std::size_t BlockSize(const void* address) {
  for (const auto& block : LiveBlockList()) {
    if (block.Address == address) {
      return block.Size;
    }
  }
  return 0;
}

TEST(FStringTest, EmptyStringReadsAsEmptyTextAndOwnsNothing) {
  const uint64_t allocations = TotalAllocations();
  const uint64_t releases = TotalReleases();
  {
    const FString empty;
    const FString fromNull(static_cast<const WideChar*>(nullptr));
    const FString fromEmpty(QV_WIDE(""));
    for (const FString* string : {&empty, &fromNull, &fromEmpty}) {
      EXPECT_EQ(string->Chars, nullptr);
      EXPECT_EQ(string->Count, 0);
      EXPECT_EQ(string->Capacity, 0);
      ASSERT_NE(string->Text(), nullptr);
      EXPECT_EQ(string->Text()[0], 0);
      EXPECT_EQ(string->Length(), 0);
      EXPECT_EQ(string->ToUtf8(), "");
    }
  }
  EXPECT_EQ(TotalAllocations(), allocations);
  EXPECT_EQ(TotalReleases(), releases);
}

TEST(FStringTest, WideTextIsCopiedWithItsTerminator) {
  const WideChar source[] = QV_WIDE("mission");
  const FString string(source);
  EXPECT_EQ(string.Count, 8);
  EXPECT_EQ(string.Length(), 7);
  EXPECT_NE(string.Chars, source);
  EXPECT_EQ(string.Chars[7], 0);
  EXPECT_EQ(TextOf(string), QV_WIDE("mission"));
}

TEST(FStringTest, CapacityFollowsTheGrowingRuleAndSizesTheHeapBlock) {
  struct Case {
    const char* text;
    int32_t count;
    int32_t capacity;
  };
  // Count 1..4 gets the small first buffer; from 5 on Count + floor(3 * Count / 8) + 16.
  const Case cases[] = {{"a", 2, 4},
                        {"ab", 3, 4},
                        {"abc", 4, 4},
                        {"abcd", 5, 22},
                        {"abcdefghi", 10, 29},
                        {"abcdefghijklmno", 16, 38},
                        {"abcdefghijklmnopqrstuvw", 24, 49}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const FString narrow(c.text);
    const FString wide(WideString(c.text, c.text + std::strlen(c.text)).c_str());
    for (const FString* string : {&narrow, &wide}) {
      EXPECT_EQ(string->Count, c.count);
      EXPECT_EQ(string->Capacity, c.capacity);
      EXPECT_EQ(BlockSize(string->Chars), static_cast<std::size_t>(c.capacity) * 2);
    }
  }
}

TEST(FStringTest, NarrowTextWidensBytesAndTurnsHighBytesIntoQuestionMarks) {
  const FString string("caf\xE9 \x7F\x80\xFF!");
  EXPECT_EQ(TextOf(string), WideString(QV_WIDE("caf? \x7F?"
                                               "?!")));

  // The narrow construction has no special case for "": it keeps a lone terminator.
  const FString empty("");
  EXPECT_EQ(empty.Count, 1);
  EXPECT_EQ(empty.Capacity, 4);
  EXPECT_EQ(empty.Length(), 0);
  EXPECT_EQ(empty.Text()[0], 0);

  const FString null(static_cast<const char*>(nullptr));
  EXPECT_EQ(null.Chars, nullptr);
  EXPECT_EQ(null.Count, 0);
}

// NOLINTBEGIN(bugprone-use-after-move): the moved-from strings are what this test looks at.
TEST(FStringTest, MovingTakesTheBufferAndLeavesTheSourceEmpty) {
  FString source("first");
  WideChar* const buffer = source.Chars;
  FString moved(std::move(source));
  EXPECT_EQ(moved.Chars, buffer);
  EXPECT_EQ(moved.Count, 6);
  EXPECT_EQ(moved.Capacity, 24);
  EXPECT_EQ(source.Chars, nullptr);
  EXPECT_EQ(source.Count, 0);
  EXPECT_EQ(source.Capacity, 0);

  // Assigning over a string releases its old buffer.
  FString target("second");
  const std::size_t live = LiveBlocks();
  target = std::move(moved);
  EXPECT_EQ(LiveBlocks(), live - 1);
  EXPECT_EQ(target.Chars, buffer);
  EXPECT_EQ(TextOf(target), QV_WIDE("first"));
  EXPECT_EQ(moved.Chars, nullptr);
  EXPECT_EQ(moved.Count, 0);
  EXPECT_EQ(moved.Capacity, 0);

  target = std::move(target);
  EXPECT_EQ(TextOf(target), QV_WIDE("first"));
}
// NOLINTEND(bugprone-use-after-move)

TEST(FStringTest, DestroyingReleasesTheBufferThroughTheGameHeap) {
  const std::size_t live = LiveBlocks();
  const uint64_t releases = TotalReleases();
  {
    const FString string(QV_WIDE("temporary"));
    EXPECT_EQ(LiveBlocks(), live + 1);
    EXPECT_NE(BlockSize(string.Chars), 0u);
  }
  EXPECT_EQ(LiveBlocks(), live);
  EXPECT_EQ(TotalReleases(), releases + 1);
}

// The one way a fault costs a game heap block: a destructor may not throw, so when even the game's
// free cannot be looked up, the string keeps its block and the server goes on. The fault tests
// excuse exactly this loss.
TEST(FStringTest, DestroyingWhenTheFreeCannotBeLookedUpKeepsTheBlockAndThrowsNothing) {
  for (const auto how :
       {StandIn::Faults::HostFailure::BadAlloc, StandIn::Faults::HostFailure::Foreign}) {
    const std::size_t live = LiveBlocks();
    const uint64_t allocations = TotalAllocations();
    {
      const FString string(QV_WIDE("kept"));
      StandIn::Faults::FailAt(1, how);  // the destructor's lookup of "FMemory.Free"
    }
    const bool struck = StandIn::Faults::Struck();
    StandIn::Faults::Disarm();
    EXPECT_TRUE(struck);
    EXPECT_EQ(LiveBlocks(), live + 1);
    EXPECT_EQ(StandIn::GameHeap::ReleaseBlocksMadeSince(allocations), 1u);
  }
}

TEST(FStringTest, FormattingCollapsesDoubledBracesAndKeepsOtherText) {
  EXPECT_EQ(TextOf(FString::Format(QV_WIDE("100%"))), QV_WIDE("100%"));
  EXPECT_EQ(TextOf(FString::Format(QV_WIDE("a {{b}}"))), QV_WIDE("a {b}"));
  EXPECT_EQ(TextOf(FString::Format("100%")), QV_WIDE("100%"));
  EXPECT_EQ(TextOf(FString::Format("a {{b}}")), QV_WIDE("a {b}"));
  // The narrow form widens as the narrow construction does.
  EXPECT_EQ(TextOf(FString::Format("caf\xE9 }}")), QV_WIDE("caf? }"));
}

TEST(FStringTest, FormattingAnEmptyTextMakesAnEmptyString) {
  const uint64_t allocations = TotalAllocations();
  const FString wide = FString::Format(QV_WIDE(""));
  const FString narrow = FString::Format("");
  const FString null = FString::Format(static_cast<const char*>(nullptr));
  const FString wideNull = FString::Format(static_cast<const WideChar*>(nullptr));
  for (const FString* string : {&wide, &narrow, &null, &wideNull}) {
    EXPECT_EQ(string->Chars, nullptr);
    EXPECT_EQ(string->Count, 0);
    EXPECT_EQ(string->Capacity, 0);
  }
  EXPECT_EQ(TotalAllocations(), allocations);
}

TEST(FStringTest, GameHeapResizeKeepsTheBlocksBytes) {
  auto* block = static_cast<char*>(HostRealloc(nullptr, 4));
  std::memcpy(block, "abc", 4);
  block = static_cast<char*>(HostRealloc(block, 4096));
  EXPECT_STREQ(block, "abc");
  HostFree(block);
}

// Runs `format` and returns the format error's text, or "" when nothing was thrown.
template <typename Format>
std::string FormatError(Format format) {
  try {
    format();
  } catch (const fmt::format_error& error) {
    return error.what();
  }
  return "";
}

TEST(FStringTest, FormattingAStrayBraceFailsWithoutMakingAString) {
  const uint64_t allocations = TotalAllocations();
  EXPECT_EQ(FormatError([] { FString::Format(QV_WIDE("a}")); }), "unmatched '}' in format string");
  EXPECT_EQ(FormatError([] { FString::Format("a}"); }), "unmatched '}' in format string");
  EXPECT_EQ(FormatError([] { FString::Format(QV_WIDE("a {}")); }), "argument not found");
  EXPECT_EQ(FormatError([] { FString::Format("a {}"); }), "argument not found");
  EXPECT_NE(FormatError([] { FString::Format("a {"); }), "");
  EXPECT_EQ(TotalAllocations(), allocations);
}

TEST(FStringTest, Utf8RoundTripsThroughTheHostConversions) {
  // ASCII, Latin-1, a BMP symbol and a supplementary character (U+1F600, a surrogate pair).
  const std::string text = "Quest \xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80!";
  const FString string = FString::FromUtf8(text);
  const WideChar expected[] = {u'Q',      u'u', u'e',      u's', u't',   u' ',   u'\u00E9', u't',
                               u'\u00E9', u' ', u'\u20AC', u' ', 0xD83D, 0xDE00, u'!',      0};
  EXPECT_EQ(TextOf(string), WideString(expected));
  EXPECT_EQ(string.Count, 16);
  EXPECT_EQ(string.ToUtf8(), text);
}

TEST(FStringTest, Utf8ConversionsStopAtTheFirstZero) {
  const FString fromUtf8 = FString::FromUtf8(std::string("ab\0cd", 5));
  EXPECT_EQ(fromUtf8.Count, 3);
  EXPECT_EQ(TextOf(fromUtf8), QV_WIDE("ab"));

  FString withZero(QV_WIDE("ab-cd"));
  withZero.Chars[2] = 0;
  EXPECT_EQ(withZero.ToUtf8(), "ab");

  const uint64_t allocations = TotalAllocations();
  const FString empty = FString::FromUtf8("");
  EXPECT_EQ(empty.Chars, nullptr);
  EXPECT_EQ(empty.Count, 0);
  EXPECT_EQ(TotalAllocations(), allocations);
}

}  // namespace
