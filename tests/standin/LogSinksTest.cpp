// The host's log sinks: what a line written to them leaves in the journal and in the server's log
// file.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <spdlog/details/log_msg.h>
#include <spdlog/sinks/sink.h>

#include "host-bridge/HostApi.h"
#include "standin/Journal.h"
#include "standin/Server.h"
#include "support/ServerFixture.h"

namespace {

using LogSinksTest = ServerTest;

// A warning of the logger "Host" written to every sink of the host.
void WriteLine(const char* text) {
  spdlog::details::log_msg message(spdlog::source_loc{}, "Host", spdlog::level::warn, text);
  for (const auto& sink : GetLogSinks()) {
    sink->log(message);
    sink->flush();
  }
}

TEST_F(LogSinksTest, LinesReachTheLogFileAndTheJournalOrTheJournalAlone) {
  struct Case {
    const char* what;
    bool writeLogFile;
  };
  for (const Case& c : {Case{"with the log file", true}, Case{"journal only", false}}) {
    SCOPED_TRACE(c.what);
    // The server again in the same directory, with or without its log file.
    StandIn::Stop();
    std::filesystem::remove(LogFilePath());
    StandIn::Start(ServerDir(), StandIn::ServerOptions{c.writeLogFile});
    StandIn::Journal::Start();
    WriteLine("a line for both");

    EXPECT_TRUE(IsExactly(Journal(), {"GetLogSinks()", "log [Host][warning] a line for both"}));
    EXPECT_TRUE(Messages("warning").empty()) << "a line of the host's logger, not the plugin's";
    EXPECT_EQ(std::filesystem::exists(LogFilePath()), c.writeLogFile);
    if (c.writeLogFile) {
      EXPECT_NE(LogFile().find("[Host] [warning] a line for both"), std::string::npos) << LogFile();
    }
  }
}

}  // namespace
