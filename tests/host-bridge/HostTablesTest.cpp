// The plugin calls the host's interfaces through their tables of virtual entries, so the place of
// each entry it calls is part of the binary interface with the real host: a declaration that adds,
// drops or reorders an entry makes the plugin call the wrong operation there, which no call
// through the stand-in (built from the same declaration) would show. The host's log sinks are
// spdlog's objects, called the same way.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <utility>

#include <gtest/gtest.h>
#include <spdlog/sinks/sink.h>

#include "host-bridge/FString.h"
#include "host-bridge/HostApi.h"

namespace {

#if defined(_MSC_VER)
// The table index of a virtual member function. In the MSVC ABI a pointer to a virtual member
// points at a small thunk that jumps through the entry, so the call is made on a stand-in object
// whose table entries each note their own index. (The arguments are never read: on x64 Windows
// they travel in registers the entries ignore.)
std::size_t calledEntry = 0;

template <std::size_t... Index>
const auto& NotingTable(std::index_sequence<Index...>) {
  static void (*const table[])() = {[] { calledEntry = Index; }...};
  return table;
}

template <typename Interface, typename Result, typename... Args>
std::size_t EntryOf(Result (Interface::*member)(Args...)) {
  struct NotingObject {
    const void* table;
  } object{NotingTable(std::make_index_sequence<16>())};
  calledEntry = ~std::size_t{0};
  (reinterpret_cast<Interface*>(&object)->*member)(std::decay_t<Args>{}...);
  return calledEntry;
}

// The MSVC ABI puts one entry first for the virtual destructor (the deleting destructor).
constexpr std::size_t kDestructorEntries = 1;
#else
// The table index of a virtual member function. GCC and clang for Linux follow the Itanium C++
// ABI, where a pointer to a virtual member holds one plus the entry's byte offset in the table.
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

// The Itanium ABI puts two entries first for the virtual destructor (complete and deleting).
constexpr std::size_t kDestructorEntries = 2;
#endif

// After the destructor's entries, each operation in its declared order, the unused ones included.
TEST(HostTablesTest, EveryEntryThePluginCallsKeepsItsPlaceInTheHostsTable) {
  using HostApi::ICommands;
  using HostApi::IHooks;
  EXPECT_EQ(EntryOf(&IHooks::RemoveHook), kDestructorEntries + 0);
  EXPECT_EQ(EntryOf(&IHooks::InstallHook), kDestructorEntries + 1);

  EXPECT_EQ(EntryOf(&ICommands::UnusedBeforeAdd), kDestructorEntries + 0);
  EXPECT_EQ(EntryOf(&ICommands::AddConsoleCommand), kDestructorEntries + 1);
  EXPECT_EQ(EntryOf(&ICommands::AddRconCommand), kDestructorEntries + 2);
  EXPECT_EQ(EntryOf(&ICommands::UnusedBetweenAddAndRemove), kDestructorEntries + 3);
  EXPECT_EQ(EntryOf(&ICommands::RemoveConsoleCommand), kDestructorEntries + 4);
  EXPECT_EQ(EntryOf(&ICommands::RemoveRconCommand), kDestructorEntries + 5);
  EXPECT_EQ(EntryOf(&ICommands::UnusedAfterRemove), kDestructorEntries + 6);
}

// spdlog's sink: the plugin's logger calls log and flush, the plugin itself set_pattern.
TEST(HostTablesTest, TheLogSinksOperationsKeepTheirPlacesInSpdlogsTable) {
  using spdlog::sinks::sink;
  EXPECT_EQ(EntryOf(&sink::log), kDestructorEntries + 0);
  EXPECT_EQ(EntryOf(&sink::flush), kDestructorEntries + 1);
  EXPECT_EQ(EntryOf(&sink::set_pattern), kDestructorEntries + 2);
  EXPECT_EQ(EntryOf(&sink::set_formatter), kDestructorEntries + 3);
}

}  // namespace
