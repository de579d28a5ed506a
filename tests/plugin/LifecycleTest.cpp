// Loading and unloading the plugin through the loader, and its log.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <spdlog/details/log_msg.h>
#include <spdlog/formatter.h>
#include <spdlog/sinks/ostream_sink.h>
#include <spdlog/sinks/sink.h>

#include "host-bridge/HostApi.h"
#include "plugin/Version.h"
#include "standin/Registries.h"
#include "standin/ScratchServer.h"
#include "support/Configs.h"
#include "support/ServerFixture.h"

namespace {

const char* const kStartKey = "AMissionDispatcher.StartMission";

using LifecycleTest = ServerTest;

TEST_F(LifecycleTest, LoadPlacesHookAndCommandsAndUnloadTakesThemAway) {
  LoadWith(kHuntOff);
  EXPECT_EQ(StandIn::Hooks::Detours(kStartKey).size(), 1u);
  EXPECT_TRUE(ReloadRegistered());
  EXPECT_TRUE(Disabled("Great Hunt")) << "the configuration was read at load";
  EXPECT_TRUE(Messages("critical").empty());

  UnloadPlugin();
  EXPECT_TRUE(StandIn::Hooks::Detours(kStartKey).empty());
  EXPECT_FALSE(ReloadRegistered());
  EXPECT_TRUE(StandIn::Commands::Names().empty());
}

TEST_F(LifecycleTest, StaticStateStartsAfreshAtEveryLoad) {
  LoadWith(kHuntOff);
  ASSERT_TRUE(Disabled("Hunt"));
  UnloadPlugin();
  RemoveConfig();
  LoadPlugin();
  EXPECT_FALSE(Disabled("Hunt")) << "a configuration survived the unload";
}

// With "ShowConfigSummary" true, each read confirms the file and the entries the filter tries.
TEST_F(LifecycleTest, EachReadConfirmsThePathAndTheEntriesInForce) {
  struct Case {
    const char* list;
    const char* entries;
  };
  const Case cases[] = {
      {R"(["Hunt", "Race"])", "2 entries"},
      {R"(["Hunt"])", "1 entry"},
      {R"("Hunt")", "1 entry"},
      {R"({"b": "Hunt", "a": "Race", "c": "Fish"})", "3 entries"},
      {R"(["Hunt", 7, "Race"])", "1 entry"},  // the search stops at 7
      {R"([7, "Hunt"])", "0 entries"},
      {"null", "0 entries"},
      {"[]", "0 entries"},
      {"5", "0 entries"},  // a lone value that is no string
      {"true", "0 entries"},
      {"[[]]", "0 entries"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.list);
    const std::size_t before = Messages("info").size();
    LoadWith(std::string(R"({"ShowConfigSummary": true, "DisabledMissions": )") + c.list + "}");
    const std::vector<std::string> info = Messages("info");
    ASSERT_EQ(info.size(), before + 1);
    const std::string inForce = std::string(c.entries) + " of \"DisabledMissions\" in force";
    EXPECT_EQ(info.back(), "Loaded config from " + ConfigPath() + ": " + inForce + " (QuestVeto " +
                               kPluginVersion + ")");
    ReloadFromConsole();
    EXPECT_EQ(Messages("info").back(),
              "Reloaded config from " + ConfigPath() + ": " + inForce + "; no change");
    UnloadPlugin();
  }
}

// The load and reload summaries come only when the configuration just read asks for them; each
// read decides afresh. Nothing else is logged of a good read.
TEST_F(LifecycleTest, SummariesComeOnlyWhenTheConfigAsksForThem) {
  const std::string on = kHuntOffSummarised;
  const std::string loaded = std::string(
                                 "Loaded config from <path>: 1 entry of \"DisabledMissions\" "
                                 "in force (QuestVeto ") +
                             kPluginVersion + ")";
  const std::string reloaded =
      "Reloaded config from <path>: 1 entry of \"DisabledMissions\" in force";
  struct Row {
    std::string first;               // read at load
    std::string second;              // read by "qv.reload"
    std::vector<std::string> lines;  // what the two reads log at info and warning, in order
  };
  const Row rows[] = {
      {kHuntOff, kHuntOff, {}},
      {R"({"ShowConfigSummary": false})", R"({"ShowConfigSummary": false})", {}},
      {on, kHuntOff, {loaded}},
      {kHuntOff, on, {reloaded + "; \"ShowConfigSummary\" changed"}},
      {on, on, {loaded, reloaded + "; no change"}},
      {R"({"ShowConfigSummary": "true"})",
       R"(["Hunt"])",
       {"Config key \"ShowConfigSummary\" cannot be used, the default applies: "
        "[json.exception.type_error.302] type must be boolean, but is string"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.first + " then " + row.second);
    Restart();
    LoadWith(row.first);
    WriteConfig(row.second);
    ReloadFromConsole();
    std::vector<std::string> lines = Messages("info");
    const std::vector<std::string> warnings = Messages("warning");
    lines.insert(lines.end(), warnings.begin(), warnings.end());
    std::vector<std::string> expected = row.lines;
    for (std::string& line : expected) {
      if (line.find("<path>") != std::string::npos)
        line.replace(line.find("<path>"), 6, ConfigPath());
    }
    EXPECT_EQ(lines, expected);
  }
}

TEST_F(LifecycleTest, MissingConfigAtLoadIsLoggedAndMendedByReload) {
  LoadPlugin();
  const std::vector<std::string> critical = Messages("critical");
  ASSERT_EQ(critical.size(), 1u);
  EXPECT_NE(critical[0].find("Can't open config.json"), std::string::npos) << critical[0];
  EXPECT_NE(critical[0].find(ConfigPath()), std::string::npos) << "names the file it looked for";
  EXPECT_TRUE(Messages("info").empty()) << "a failed read is not confirmed";
  EXPECT_EQ(StandIn::Hooks::Detours(kStartKey).size(), 1u) << "the load went on";
  EXPECT_TRUE(ReloadRegistered());
  EXPECT_FALSE(Disabled("Hunt"));

  WriteConfig(kHuntOff);
  ReloadFromConsole();
  EXPECT_TRUE(Disabled("Hunt"));
}

TEST_F(LifecycleTest, BrokenConfigAtLoadNamesLineAndColumn) {
  LoadWith("{\n  \"DisabledMissions\": [\"Hunt\",]\n}");
  const std::vector<std::string> critical = Messages("critical");
  ASSERT_EQ(critical.size(), 1u);
  EXPECT_NE(critical[0].find("parse error at line 2, column 31"), std::string::npos) << critical[0];
  EXPECT_FALSE(Disabled("Hunt"));
}

// The process's time zone set to `zone` for the life of the object, the previous one back after.
class TimeZone {
 public:
  explicit TimeZone(const char* zone) {
    if (const char* previous = std::getenv("TZ")) previous_ = previous;
    Set(zone);
  }
  ~TimeZone() { Set(previous_ ? previous_->c_str() : nullptr); }
  TimeZone(const TimeZone&) = delete;
  TimeZone& operator=(const TimeZone&) = delete;

 private:
  static void Set(const char* zone) {
#if defined(_WIN32)
    _putenv_s("TZ", zone != nullptr ? zone : "");
    _tzset();
#else
    if (zone != nullptr) {
      setenv("TZ", zone, 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
#endif
  }

  std::optional<std::string> previous_;
};

// Stamped in local time, whatever the zone: one hours ahead of UTC, one behind, one at it.
TEST_F(LifecycleTest, LogLinesCarryLocalDateTimeNameAndLevel) {
  LoadWith(kHuntOff);
  for (const char* zone : {"QVT-5", "QVT+3:30", "UTC0"}) {
    SCOPED_TRACE(zone);
    const TimeZone inZone(zone);
    // A critical message written at 09:05 local time on 1 March 2027, through a sink the plugin's
    // logger formats.
    std::tm local{};
    local.tm_year = 2027 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 1;
    local.tm_hour = 9;
    local.tm_min = 5;
    local.tm_isdst = -1;
    spdlog::details::log_msg message(spdlog::source_loc{}, "QuestVeto", spdlog::level::critical,
                                     "boom");
    message.time = std::chrono::system_clock::from_time_t(std::mktime(&local));
    for (const auto& sink : GetLogSinks()) {
      sink->log(message);
      sink->flush();
    }
    const std::string logFile = LogFile();
    const std::string line = "03/01/27 09:05 [QuestVeto][critical] boom\n";
    ASSERT_GE(logFile.size(), line.size());
    EXPECT_EQ(logFile.substr(logFile.size() - line.size()), line) << logFile;
  }
}

// An info line is in the log file as soon as the call that wrote it returns.
TEST_F(LifecycleTest, InfoLinesAreInTheFileAtOnce) {
  LoadWith(kHuntOffSummarised);
  EXPECT_NE(LogFile().find("[QuestVeto][info] Loaded config from "), std::string::npos)
      << LogFile();
  ReloadFromConsole();
  EXPECT_NE(LogFile().find("[QuestVeto][info] Reloaded config from "), std::string::npos)
      << LogFile();
}

TEST_F(LifecycleTest, HostSinksKeepFormattingAfterThePluginIsUnloaded) {
  LoadWith(kHuntOff);
  UnloadPlugin();
  // The sinks belong to the host; what the plugin set on them must not point into the unloaded
  // library (on Windows this write ran code that was gone).
  spdlog::details::log_msg message(spdlog::source_loc{}, "Host", spdlog::level::info, "still here");
  for (const auto& sink : GetLogSinks()) {
    sink->log(message);
    sink->flush();
  }
  EXPECT_NE(LogFile().find("[Host][info] still here"), std::string::npos) << LogFile();
  EXPECT_EQ(Journal().back(), "log [Host][info] still here");
}

// A sink of the host's that records how its format is set.
class FormatRecordingSink final : public spdlog::sinks::sink {
 public:
  void log(const spdlog::details::log_msg& /*message*/) override {}
  void flush() override {}
  void set_pattern(const std::string& pattern) override { patterns.push_back(pattern); }
  void set_formatter(std::unique_ptr<spdlog::formatter> /*formatter*/) override { ++formatters; }
  std::vector<std::string> patterns;
  int formatters = 0;
};

// The pattern reaches each sink as text, for the sink's code to make its formatter: a formatter
// made by the plugin would stay in the host's sink, its code gone with the unloaded library. The
// logger holds the sink until the library's static objects are destroyed at unload, and no longer.
TEST_F(LifecycleTest, EachSinkMakesItsOwnFormatterAndIsLetGoAtUnload) {
  const auto sink = std::make_shared<FormatRecordingSink>();
  StandIn::AddLogSink(sink);
  const long heldByHost = sink.use_count();
  LoadWith(kHuntOff);
  EXPECT_EQ(sink->patterns, std::vector<std::string>{"%D %R [%n][%l] %v"});
  EXPECT_EQ(sink->formatters, 0);
  EXPECT_EQ(sink.use_count(), heldByHost + 1) << "the plugin's logger holds the sink";
  UnloadPlugin();
  EXPECT_EQ(sink.use_count(), heldByHost) << "the logger outlived the unload";
}

TEST_F(LifecycleTest, LoggerWritesToTheSinksOfLoadTimeAndFlushesAtOnce) {
  LoadWith(kHuntOff);
  std::ostringstream laterText;
  StandIn::AddLogSink(std::make_shared<spdlog::sinks::ostream_sink_mt>(laterText));
  RemoveConfig();
  ReloadFromConsole();  // logs a critical line

  ASSERT_EQ(Messages("critical").size(), 1u);
  EXPECT_EQ(laterText.str(), "") << "a sink added after load reached the plugin's logger";
  const std::string logFile = LogFile();
  EXPECT_NE(
      logFile.find("[QuestVeto][critical] Failed to reload config! \n Can't open config.json"),
      std::string::npos)
      << "the log file was not flushed: " << logFile;
}

TEST_F(LifecycleTest, ThreadsComingAndGoingChangeNothing) {
  LoadWith(kHuntOff);
  std::thread([] {}).join();  // the system delivers thread attach and detach on Windows
  EXPECT_EQ(StandIn::Hooks::Detours(kStartKey).size(), 1u);
  EXPECT_TRUE(ReloadRegistered());
  EXPECT_TRUE(Disabled("Hunt"));
}

}  // namespace
