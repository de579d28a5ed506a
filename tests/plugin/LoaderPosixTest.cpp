// How the stand-in loader delivers the entry point's notifications on Linux, where it stands in
// for the system loader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "standin/Registries.h"
#include "support/Configs.h"
#include "support/ServerFixture.h"

namespace {

const char* const kStartKey = "AMissionDispatcher.StartMission";

using EntryPoint = int (*)(void*, unsigned long, void*);

using LoaderPosixTest = ServerTest;

TEST_F(LoaderPosixTest, ThreadNotificationsDoNothing) {
  LoadWith(kHuntOff);
  auto entry = reinterpret_cast<EntryPoint>(PluginSymbol("DllMain"));
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry(nullptr, 2, nullptr), 1);
  EXPECT_EQ(entry(nullptr, 3, nullptr), 1);
  EXPECT_EQ(StandIn::Hooks::Detours(kStartKey).size(), 1u);
  EXPECT_TRUE(ReloadRegistered());
}

// The server directory of a test's process that ends inside the test: its fixture's TearDown
// never runs there to remove it.
std::string exitingServerDir;

// Exits with 42 when, at process end, the plugin had given back its hook and commands; removes
// the exiting process's server directory first.
void ExpectUnloadedAtExit() {
  const bool clean = StandIn::Hooks::Detours(kStartKey).empty() && !ReloadRegistered();
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::u8path(exitingServerDir), ignored);
  std::_Exit(clean ? 42 : 1);
}

TEST_F(LoaderPosixTest, ProcessEndRunsTheUnloadForAStillLoadedPlugin) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  WriteConfig(kHuntOff);
  EXPECT_EXIT(
      {
        // A new run of this program whose fixture made a fresh server directory of its own.
        exitingServerDir = ServerDir();
        std::atexit(ExpectUnloadedAtExit);  // runs after the detach the loader delivers at exit
        // NOLINTNEXTLINE(bugprone-unused-return-value): left loaded on purpose, until exit.
        StandIn::PluginLibrary::Load(QV_PLUGIN_PATH).release();
        std::exit(0);
      },
      testing::ExitedWithCode(42), "");
}

}  // namespace
