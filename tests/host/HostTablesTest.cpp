// The plugin calls the host's interfaces through their tables of virtual entries, so the place of
// each entry it calls is part of the binary interface with the real host: a declaration that adds,
// drops or reorders an entry makes the plugin call the wrong operation there, which no call
// through the stand-in (built from the same declaration) would show.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>

#include "host/HostApi.h"

namespace {

// The table index of a virtual member function. GCC and MinGW both follow the Itanium C++ ABI,
// where a pointer to a virtual member holds one plus the entry's byte offset in the table.
template <typename Member>
std::size_t EntryOf(Member member) {
  struct {
    std::uintptr_t offsetPlusOne;
    std::ptrdiff_t thisAdjustment;
  } representation{};
  static_assert(sizeof(member) == sizeof(representation));
  std::memcpy(&representation, &member, sizeof(representation));
  return (representation.offsetPlusOne - 1) / sizeof(void*);
}

// Entries 0 and 1 are the destructors the ABI puts first.
TEST(HostTablesTest, EveryEntryThePluginCallsKeepsItsPlaceInTheHostsTable) {
  using HostApi::ICommands;
  using HostApi::IHooks;
  EXPECT_EQ(EntryOf(&IHooks::RemoveHook), 2u);
  EXPECT_EQ(EntryOf(&IHooks::InstallHook), 3u);

  EXPECT_EQ(EntryOf(&ICommands::UnusedBeforeAdd), 2u);
  EXPECT_EQ(EntryOf(&ICommands::AddConsoleCommand), 3u);
  EXPECT_EQ(EntryOf(&ICommands::AddRconCommand), 4u);
  EXPECT_EQ(EntryOf(&ICommands::UnusedBetweenAddAndRemove), 5u);
  EXPECT_EQ(EntryOf(&ICommands::RemoveConsoleCommand), 6u);
  EXPECT_EQ(EntryOf(&ICommands::RemoveRconCommand), 7u);
  EXPECT_EQ(EntryOf(&ICommands::UnusedAfterRemove), 8u);
}

}  // namespace
