// The journal records only while on, and only the calls asked for when some are, hands its
// entries to a reader that looks at them or takes them, and the matcher's four readings of it.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <variant>
#include <vector>

#include "host-bridge/FString.h"
#include "standin/Journal.h"
#include "support/JournalMatch.h"

namespace {

TEST(JournalTest, RecordsOnlyWhileOnAndStartsAfresh) {
  StandIn::Journal::Stop();
  { const FString unrecorded("a"); }
  StandIn::Journal::Start();
  { const FString recorded("bcdef"); }
  StandIn::Journal::Stop();
  { const FString unrecorded("g"); }
  EXPECT_TRUE(IsExactly(StandIn::Journal::Entries(),
                        {R"(GetAddress("FMemory.Malloc"))", "FMemory.Malloc(48, 0)",
                         R"(GetAddress("FMemory.Free"))", "FMemory.Free(48 bytes)"}));
  StandIn::Journal::Start();
  StandIn::Journal::Stop();
  EXPECT_TRUE(StandIn::Journal::Entries().empty());
}

TEST(JournalTest, TakeHandsOverTheEntriesWithTheirCallsAndForgetsThem) {
  StandIn::Journal::Start();
  { const FString recorded("b"); }
  const std::vector<StandIn::Journal::Entry> taken = StandIn::Journal::Take();
  { const FString recordedAfter("c"); }
  StandIn::Journal::Stop();
  ASSERT_EQ(taken.size(), 4u);
  EXPECT_EQ(taken[0].Text, R"(GetAddress("FMemory.Malloc"))");
  EXPECT_EQ(taken[0].Call, "GetAddress");
  ASSERT_EQ(taken[0].Arguments.size(), 1u);
  EXPECT_EQ(std::get<std::string>(taken[0].Arguments[0]), "FMemory.Malloc");
  EXPECT_EQ(taken[1].Text, "FMemory.Malloc(8, 0)");
  EXPECT_EQ(taken[1].Call, "") << "the heap writes its own entries";
  EXPECT_EQ(StandIn::Journal::Entries().size(), 4u) << "only what came after the Take";
}

TEST(JournalTest, PeekHandsOverTheEntriesWithTheirCallsAndKeepsThem) {
  StandIn::Journal::Start();
  { const FString recorded("b"); }
  const std::vector<StandIn::Journal::Entry> peeked = StandIn::Journal::Peek();
  const std::vector<StandIn::Journal::Entry> taken = StandIn::Journal::Take();
  StandIn::Journal::Stop();
  ASSERT_EQ(peeked.size(), 4u) << "kept for the Take after it";
  ASSERT_EQ(taken.size(), 4u);
  for (std::size_t i = 0; i < taken.size(); ++i) {
    EXPECT_EQ(peeked[i].Text, taken[i].Text);
    EXPECT_EQ(peeked[i].Call, taken[i].Call);
    EXPECT_EQ(peeked[i].Arguments.size(), taken[i].Arguments.size());
  }
  ASSERT_EQ(peeked[0].Arguments.size(), 1u);
  EXPECT_EQ(std::get<std::string>(peeked[0].Arguments[0]), "FMemory.Malloc");
}

TEST(JournalTest, RecordsOnlyTheCallsItIsGiven) {
  StandIn::Journal::Start({"GetAddress"});
  { const FString recorded("b"); }
  StandIn::Journal::Stop();
  EXPECT_TRUE(IsExactly(StandIn::Journal::Entries(),
                        {R"(GetAddress("FMemory.Malloc"))", R"(GetAddress("FMemory.Free"))"}));
}

const JournalEntries kJournal = {"a(1)", "b(2)", "c(3)", "b(4)"};

TEST(JournalMatchTest, Readings) {
  struct Case {
    const char* Reading;
    bool Holds;
  };
  const Case cases[] = {
      {"exact", IsExactly(kJournal, {"a(1)", "b(2)", "c(3)", "b(4)"})},
      {"exact with a wildcard", IsExactly(kJournal, {"a(*)", "b(2)", "*", "b(4)"})},
      {"exact, one missing", !IsExactly(kJournal, {"a(1)", "b(2)", "c(3)"})},
      {"exact, one extra", !IsExactly(kJournal, {"a(1)", "b(2)", "c(3)", "b(4)", "d"})},
      {"exact, one different", !IsExactly(kJournal, {"a(1)", "b(2)", "c(9)", "b(4)"})},
      {"exact, a prefix is not the entry", !IsExactly(kJournal, {"a(", "b(2)", "c(3)", "b(4)"})},
      {"in order", ContainsInOrder(kJournal, {"a(1)", "c(3)", "b(4)"})},
      {"in order, reversed", !ContainsInOrder(kJournal, {"c(3)", "a(1)"})},
      {"in order, an entry used twice", !ContainsInOrder(kJournal, {"c(3)", "c(3)"})},
      {"before", ComesBefore(kJournal, "a(*)", "b(*)")},
      {"before, every match counts", !ComesBefore(kJournal, "b(*)", "c(*)")},
      {"before, one absent", !ComesBefore(kJournal, "a(*)", "d(*)")},
      {"nothing between", NothingBetween(kJournal, "c(3)", "b(*)")},
      {"nothing between, a later pair", NothingBetween(kJournal, "b(*)", "c(3)")},
      {"something between", !NothingBetween(kJournal, "a(1)", "c(3)")},
  };
  for (const Case& c : cases) EXPECT_TRUE(c.Holds) << c.Reading;
  EXPECT_EQ(Matching(kJournal, "b(*)"), (JournalEntries{"b(2)", "b(4)"}));
}

}  // namespace
