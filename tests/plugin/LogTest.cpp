// The plugin's logger as the load makes it, made here in the test program itself, where its level
// can be read: the host's sinks see no line below info.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugin/Log.h"
#include "support/ServerFixture.h"

namespace {

using LogTest = ServerTest;

TEST_F(LogTest, LinesBelowInfoAreDropped) {
  CreatePluginLogger();
  ASSERT_TRUE(PluginLog());
  EXPECT_EQ(PluginLog()->level(), spdlog::level::info);
  PluginLog()->trace("a trace line");
  PluginLog()->debug("a debug line");
  PluginLog()->info("an info line");
  EXPECT_EQ(Matching(Journal(), "log [QuestVeto]*"),
            JournalEntries{"log [QuestVeto][info] an info line"});
  PluginLog().reset();
}

}  // namespace
