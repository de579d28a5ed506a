#include "support/JournalMatch.h"

#include <algorithm>
#include <cstddef>

namespace {

bool GlobMatches(const char* pattern, const char* text) {
  if (*pattern == 0) return *text == 0;
  if (*pattern == '*') {
    for (const char* rest = text;; ++rest) {
      if (GlobMatches(pattern + 1, rest)) return true;
      if (*rest == 0) return false;
    }
  }
  return *pattern == *text && GlobMatches(pattern + 1, text + 1);
}

std::string Listing(const JournalEntries& journal) {
  std::string listing = "\njournal (" + std::to_string(journal.size()) + " entries):";
  for (std::size_t i = 0; i < journal.size(); ++i) {
    listing += "\n  " + std::to_string(i) + ": " + journal[i];
  }
  return listing;
}

// Index of the first entry at or after `from` matching `expected`, or the journal's size.
std::size_t Find(const JournalEntries& journal, const std::string& expected, std::size_t from) {
  while (from < journal.size() && !EntryMatches(expected, journal[from])) ++from;
  return from;
}

}  // namespace

bool EntryMatches(const std::string& expected, const std::string& entry) {
  return GlobMatches(expected.c_str(), entry.c_str());
}

testing::AssertionResult IsExactly(const JournalEntries& journal, const JournalEntries& expected) {
  const std::size_t common = std::min(journal.size(), expected.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (!EntryMatches(expected[i], journal[i])) {
      return testing::AssertionFailure() << "entry " << i << " is\n  " << journal[i]
                                         << "\nexpected\n  " << expected[i] << Listing(journal);
    }
  }
  if (journal.size() > common) {
    return testing::AssertionFailure()
           << "unexpected entry " << common << ": " << journal[common] << Listing(journal);
  }
  if (expected.size() > common) {
    return testing::AssertionFailure()
           << "missing entry " << common << ": " << expected[common] << Listing(journal);
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult ContainsInOrder(const JournalEntries& journal,
                                         const JournalEntries& expected) {
  std::size_t at = 0;
  for (const std::string& entry : expected) {
    at = Find(journal, entry, at);
    if (at == journal.size()) {
      return testing::AssertionFailure() << "no\n  " << entry << "\nin order" << Listing(journal);
    }
    ++at;
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult ComesBefore(const JournalEntries& journal, const std::string& first,
                                     const std::string& second) {
  const JournalEntries firsts = Matching(journal, first);
  const JournalEntries seconds = Matching(journal, second);
  if (firsts.empty() || seconds.empty()) {
    return testing::AssertionFailure()
           << "no " << (firsts.empty() ? first : second) << Listing(journal);
  }
  std::size_t lastFirst = 0;
  for (std::size_t i = 0; i < journal.size(); ++i) {
    if (EntryMatches(first, journal[i])) lastFirst = i;
  }
  const std::size_t firstSecond = Find(journal, second, 0);
  if (lastFirst > firstSecond) {
    return testing::AssertionFailure()
           << first << " (entry " << lastFirst << ") does not come "
           << "before " << second << " (entry " << firstSecond << ")" << Listing(journal);
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult NothingBetween(const JournalEntries& journal, const std::string& first,
                                        const std::string& second) {
  for (std::size_t at = Find(journal, first, 0); at < journal.size();
       at = Find(journal, first, at + 1)) {
    if (at + 1 < journal.size() && EntryMatches(second, journal[at + 1])) {
      return testing::AssertionSuccess();
    }
  }
  return testing::AssertionFailure()
         << "no " << first << "\ndirectly followed by " << second << Listing(journal);
}

JournalEntries Matching(const JournalEntries& journal, const std::string& pattern) {
  JournalEntries found;
  std::copy_if(journal.begin(), journal.end(), std::back_inserter(found),
               [&](const std::string& entry) { return EntryMatches(pattern, entry); });
  return found;
}
