// Reading the stand-in's journal in tests: the whole sequence, a subsequence, an order, or two
// entries with nothing between. An expected entry matches an entry of the same text; "*" in it
// stands for any run of characters (a time, an address). Failures show the journal.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

using JournalEntries = std::vector<std::string>;

bool EntryMatches(const std::string& expected, const std::string& entry);

// The journal is exactly `expected`, entry for entry.
testing::AssertionResult IsExactly(const JournalEntries& journal, const JournalEntries& expected);
// `expected` appears in the journal in this order, other entries around and between.
testing::AssertionResult ContainsInOrder(const JournalEntries& journal,
                                         const JournalEntries& expected);
// Both appear, and every entry matching `first` comes before every entry matching `second`.
testing::AssertionResult ComesBefore(const JournalEntries& journal, const std::string& first,
                                     const std::string& second);
// An entry matching `first` is directly followed by one matching `second`.
testing::AssertionResult NothingBetween(const JournalEntries& journal, const std::string& first,
                                        const std::string& second);
// The entries matching `pattern`, in order.
JournalEntries Matching(const JournalEntries& journal, const std::string& pattern);
