// The host's log sinks: what a line written to them leaves in memory and in the server's log file.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <spdlog/details/log_msg.h>
#include <spdlog/sinks/sink.h>

#include "host/HostApi.h"
#include "standin/Server.h"
#include "support/ServerFixture.h"

namespace {

class LogSinksTest : public ServerTest {
 protected:
  // Restarts the server in the same directory with `options`.
  void Restart(const StandIn::ServerOptions& options) {
    StandIn::Stop();
    std::filesystem::remove(LogFilePath());
    StandIn::Start(ServerDir(), options);
  }

  static void WriteLine(const char* text) {
    spdlog::details::log_msg message(spdlog::source_loc{}, "Host", spdlog::level::warn, text);
    for (const auto& sink : GetLogSinks()) {
      sink->log(message);
      sink->flush();
    }
  }
};

TEST_F(LogSinksTest, LinesReachTheLogFileAndMemoryOrMemoryAlone) {
  struct Case {
    const char* what;
    bool writeLogFile;
  };
  for (const Case& c : {Case{"with the log file", true}, Case{"in memory only", false}}) {
    SCOPED_TRACE(c.what);
    Restart(StandIn::ServerOptions{c.writeLogFile});
    WriteLine("a line for both");

    ASSERT_EQ(LogLines().size(), 1u);
    EXPECT_NE(LogLines()[0].find("[Host] [warning] a line for both"), std::string::npos)
        << LogLines()[0];
    EXPECT_EQ(std::filesystem::exists(LogFilePath()), c.writeLogFile);
    if (c.writeLogFile) {
      EXPECT_NE(LogFile().find(LogLines()[0]), std::string::npos) << LogFile();
    }
  }
}

}  // namespace
