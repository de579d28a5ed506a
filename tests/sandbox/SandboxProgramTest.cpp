// questveto-sandbox as the operator runs it: the scripted demo from start to end, and the end of
// standard input stopping the server cleanly.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "standin/ScratchServer.h"
#include "standin/World.h"
#include "support/Configs.h"

namespace {

namespace fs = std::filesystem;

fs::path ConfigFileIn(const fs::path& serverDir) {
  return fs::u8path(StandIn::ConfigPathIn(serverDir.u8string()));
}

struct ProgramRun {
  std::string Output;
  int Status;
};

// Runs `command` through the shell; its standard output and exit status.
ProgramRun RunCommand(const std::string& command) {
  ProgramRun run{{}, -1};
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  while (std::size_t count = std::fread(buffer, 1, sizeof buffer, pipe))
    run.Output.append(buffer, count);
  const int status = pclose(pipe);
  run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// Each of `lines` is in `output`, in this order.
void ExpectInOrder(const std::string& output, const std::vector<std::string>& lines) {
  std::size_t at = 0;
  for (const std::string& line : lines) {
    const std::size_t found = output.find(line, at);
    ASSERT_NE(found, std::string::npos) << "missing, or out of order: " << line << "\n" << output;
    at = found + line.size();
  }
}

// How many times `text` is in `output`.
std::size_t Occurrences(const std::string& output, const std::string& text) {
  std::size_t count = 0;
  for (std::size_t at = output.find(text); at != std::string::npos;
       at = output.find(text, at + text.size())) {
    ++count;
  }
  return count;
}

class SandboxProgramTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = StandIn::FreshDirectory("qv-sandbox-test-");
    fs::create_directories(ConfigFileIn(dir_).parent_path());
    fs::copy_file(QV_SAMPLE_CONFIG, ConfigFileIn(dir_));
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Sandbox(const std::string& arguments) const {
    return fmt::format("'{}' --dir '{}' {}", QV_SANDBOX_PATH, dir_.string(), arguments);
  }

  fs::path dir_;
};

TEST_F(SandboxProgramTest, ScriptedDemoShowsRefusalsReloadAndPassingStart) {
  const ProgramRun run = RunCommand(Sandbox(fmt::format("--script '{}'", QV_DEMO_SCRIPT)));
  EXPECT_EQ(run.Status, 0) << run.Output;
  ExpectInOrder(
      run.Output,
      {"Loaded plugin ",
       "Registered by plugins: qv.reload",
       "> start Bob Hunt",
       "[QuestVeto][info] Player Bob attempted to start mission: Hunt!",
       "The start of \"Hunt\" by Bob was refused",
       "[notification to Bob] This mission has been disabled, but you have had it unlocked now!",
       "> start Alice Gather Wood",
       "Alice started \"Gather Wood\"",
       "> data Bob",
       "  MissionHunt Complete = true",
       "  MissionHunt Version = 3",
       "  replicated 2 time(s)",
       "> start Mira Race to the Summit",
       "The start of \"Race to the Summit\" by Mira was refused",
       "> qv.reload",
       "[QuestVeto][critical] Failed to reload config! \n [json.exception.parse_error",
       "> start Alice Hunt",
       "The start of \"Hunt\" by Alice was refused",
       "> as Bob qv.reload",
       "[chat to Bob] QuestVeto: Reloaded config",
       "> start Bob Hunt",
       "[QuestVeto][info] Player Bob started mission: Hunt!",
       "Bob started \"Hunt\"",
       "> quit",
       "Stopping: unloading the plugin",
       "Unloaded plugin "});
  EXPECT_EQ(run.Output.find("\x1b["), std::string::npos) << "no colour when not on a terminal";
}

TEST_F(SandboxProgramTest, AFreshServerDirectoryGoesAtExitUnlessKept) {
  // The fresh directory is made under TMPDIR: here, the test's own directory.
  const std::string fresh = fmt::format("TMPDIR='{}' '{}'", dir_.string(), QV_SANDBOX_PATH);
  const auto madeDirs = [this] {
    std::vector<fs::path> dirs;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      if (entry.path().filename().string().rfind("questveto-sandbox-", 0) == 0) {
        dirs.push_back(entry.path());
      }
    }
    return dirs;
  };

  const ProgramRun removed = RunCommand(fresh + " </dev/null");
  EXPECT_EQ(removed.Status, 0) << removed.Output;
  EXPECT_NE(removed.Output.find("Removed the server directory " + dir_.string()), std::string::npos)
      << removed.Output;
  EXPECT_TRUE(madeDirs().empty()) << "the scratch directory was left behind";

  const ProgramRun kept = RunCommand(fresh + " --keep-dir </dev/null");
  EXPECT_EQ(kept.Status, 0) << kept.Output;
  const std::vector<fs::path> left = madeDirs();
  ASSERT_EQ(left.size(), 1u) << kept.Output;
  EXPECT_TRUE(fs::exists(ConfigFileIn(left[0])));
  EXPECT_NE(kept.Output.find("Kept the server directory " + left[0].string()), std::string::npos)
      << kept.Output;

  // A directory the operator names is theirs: never removed, and --keep-dir does not apply.
  EXPECT_EQ(RunCommand(Sandbox("</dev/null")).Status, 0);
  EXPECT_TRUE(fs::exists(ConfigFileIn(dir_)));
  EXPECT_NE(RunCommand(Sandbox("--keep-dir </dev/null 2>&1")).Status, 0);
}

TEST_F(SandboxProgramTest, EndOfInputStopsTheServerAndUnloadsThePlugin) {
  const ProgramRun run = RunCommand("printf 'start Bob Hunt\\nno.such thing' | " + Sandbox(""));
  EXPECT_EQ(run.Status, 0) << run.Output;
  ExpectInOrder(run.Output,
                {"The start of \"Hunt\" by Bob was refused", "Unknown command: no.such (try help)",
                 "End of input", "Unloaded plugin "});
}

// A standard stream the server was started without is the null device: a closed input is an
// empty one, and nothing the terminal is shown lands in a file the server opened in its place.
TEST_F(SandboxProgramTest, ClosedStandardStreamsAreEmptyInputAndNoOutput) {
  const ProgramRun closedInput = RunCommand(Sandbox("<&- 2>&1"));
  EXPECT_EQ(closedInput.Status, 0) << closedInput.Output;
  ExpectInOrder(closedInput.Output, {"Loaded plugin ", "End of input", "Unloaded plugin "});

  std::ofstream(ConfigFileIn(dir_)) << kHuntOffSummarised;
  EXPECT_EQ(RunCommand(Sandbox("</dev/null >&- 2>&-")).Status, 0);
  std::ifstream log(fs::u8path(StandIn::LogPathIn(dir_.u8string())), std::ios::binary);
  const std::string logged{std::istreambuf_iterator<char>(log), {}};
  EXPECT_NE(logged.find("[QuestVeto][info] Loaded config from "), std::string::npos) << logged;
  for (const char* shown : {"Loaded plugin ", "End of input"}) {
    EXPECT_EQ(logged.find(shown), std::string::npos) << logged;
  }
}

TEST_F(SandboxProgramTest, AnOverlongConsoleLineIsRefusedAndTheServerGoesOn) {
  const ProgramRun run =
      RunCommand("{ head -c 200000 /dev/zero | tr '\\0' x; printf '\\nstart Bob Hunt\\n'; } | " +
                 Sandbox("2>&1"));
  EXPECT_EQ(run.Status, 0) << run.Output.substr(0, 2000);
  ExpectInOrder(run.Output, {"A console line longer than 65536 bytes was refused",
                             "The start of \"Hunt\" by Bob was refused", "End of input"});
  EXPECT_EQ(run.Output.find("xxx"), std::string::npos) << "the refused line was echoed";
}

// The RCON password from a file or the environment, so that ps does not show it; none at all,
// or one that cannot be had, stops the server before it starts, naming where one may come from.
TEST_F(SandboxProgramTest, RconPasswordFromAFileOrTheEnvironment) {
  const auto write = [this](const char* name, const std::string& text) {
    std::ofstream(dir_ / name, std::ios::binary) << text;
    return (dir_ / name).string();
  };
  const std::string good = write("password.txt", "\xEF\xBB\xBFs3cret\r\nsecond line\r\n");
  const std::string blank = write("blank.txt", "\r\ns3cret\r\n");
  const std::string utf16 = write("utf16.txt", std::string("\xFF\xFEs\0e\0", 6));
  const char* const listening = "RCON listening on 127.0.0.1:";
  const std::string noPassword =
      "RCON needs a password: give --rcon-password-file FILE, set "
      "QUESTVETO_SANDBOX_RCON_PASSWORD or give --rcon-password";
  const struct {
    std::string Environment;  // assignments before the program
    std::string Options;
    bool Runs;  // else it stops at once, as for any mistake on the command line
    std::string Shown;
  } cases[] = {
      {"", "--rcon-port 0 --rcon-password-file '" + good + "'", true, listening},
      {"QUESTVETO_SANDBOX_RCON_PASSWORD=s3cret", "--rcon-port 0", true, listening},
      {"QUESTVETO_SANDBOX_RCON_PASSWORD=s3cret", "", true, "End of input"},
      {"", "--rcon-port 0", false, noPassword},
      {"QUESTVETO_SANDBOX_RCON_PASSWORD=", "--rcon-port 0", false, noPassword},
      {"", "--rcon-port 0 --rcon-password-file '" + blank + "'", false,
       "the RCON password file " + blank + " holds no password on its first line"},
      {"", "--rcon-port 0 --rcon-password-file '" + utf16 + "'", false,
       "the RCON password file " + utf16 + " is not UTF-8 text (saved as UTF-16?)"},
      {"", "--rcon-port 0 --rcon-password-file '" + dir_.string() + "/none'", false,
       "File does not exist"},
      {"", "--rcon-password-file '" + good + "'", false,
       "--rcon-password-file requires --rcon-port"},
      {"", "--rcon-port 0 --rcon-password x --rcon-password-file '" + good + "'", false,
       "excludes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Environment + " " + c.Options);
    const ProgramRun run = RunCommand("env -u QUESTVETO_SANDBOX_RCON_PASSWORD " + c.Environment +
                                      " " + Sandbox(c.Options + " </dev/null 2>&1"));
    EXPECT_EQ(run.Status == 0, c.Runs) << run.Output;
    EXPECT_NE(run.Output.find(c.Shown), std::string::npos) << run.Output;
  }
}

TEST_F(SandboxProgramTest, BadWorldFileStopsBeforeStarting) {
  const fs::path world = dir_ / "world.json";
  std::FILE* file = std::fopen(world.c_str(), "w");
  std::fputs(R"({"missions": [], "players": [{"name": "Bob", "admin": true}]})", file);
  std::fclose(file);
  const ProgramRun run =
      RunCommand(Sandbox(fmt::format("--world '{}' 2>&1 </dev/null", world.string())));
  EXPECT_EQ(run.Status, 1);
  EXPECT_NE(run.Output.find(world.string() + ": players[0].admin: unknown key"), std::string::npos)
      << run.Output;
}

TEST_F(SandboxProgramTest, DirectoryWithoutConfigGetsTheSampleAndOneWithIsLeftAlone) {
  const fs::path config = ConfigFileIn(dir_);
  const auto read = [](const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  };
  const std::string copied = "No config.json in " + dir_.string() + ": copied the sample ";

  fs::remove_all(dir_ / "HostApi");
  ProgramRun run = RunCommand(Sandbox("</dev/null"));
  EXPECT_EQ(run.Status, 0) << run.Output;
  ExpectInOrder(run.Output, {copied, "Loaded plugin "});
  EXPECT_EQ(run.Output.find("[critical]"), std::string::npos) << run.Output;
  EXPECT_EQ(read(config), read(QV_SAMPLE_CONFIG));

  const std::string own = R"({"DisabledMissions": ["Race"]})";
  std::ofstream(config, std::ios::binary | std::ios::trunc) << own;
  run = RunCommand(Sandbox("</dev/null"));
  EXPECT_EQ(run.Status, 0) << run.Output;
  EXPECT_EQ(run.Output.find(copied), std::string::npos) << run.Output;
  EXPECT_EQ(read(config), own);
}

TEST_F(SandboxProgramTest, PluginCommandOnTheBareConsoleSaysOnceWhereRepliesGo) {
  const fs::path script = dir_ / "script.txt";
  std::ofstream(script) << "as Bob qv.reload\nqv.reload\nqv.reload\n";
  const ProgramRun run = RunCommand(Sandbox(fmt::format("--script '{}'", script.string())));
  EXPECT_EQ(run.Status, 0) << run.Output;
  const std::string note = "No reply shows on the server console";
  ExpectInOrder(run.Output, {"[chat to Bob] QuestVeto: Reloaded config", "> qv.reload", note,
                             "\"as <player> qv.reload\"", "> qv.reload"});
  EXPECT_EQ(run.Output.find(note), run.Output.rfind(note)) << "said once:\n" << run.Output;
}

TEST_F(SandboxProgramTest, APluginGivenTwiceStopsBeforeStarting) {
  const fs::path plugin = fs::path(QV_PLUGIN_PATH);
  const fs::path other = plugin.parent_path() / "." / plugin.filename();
  // Each read of the configuration is confirmed in the log.
  std::ofstream(ConfigFileIn(dir_)) << kHuntOffSummarised;
  const ProgramRun run = RunCommand(Sandbox(
      fmt::format("--plugin '{}' --plugin '{}' 2>&1 </dev/null", plugin.string(), other.string())));
  EXPECT_EQ(run.Status, 1) << run.Output;
  ExpectInOrder(run.Output,
                {"[QuestVeto][info] Loaded config from ", "Loaded plugin " + plugin.string(),
                 "Unloaded plugin " + plugin.string(),
                 fmt::format("questveto-sandbox: plugin {} is loaded already, as {}",
                             other.string(), plugin.string())});
  // The library was attached once: a second attach would read the configuration again and place
  // the hook and the commands a second time.
  EXPECT_EQ(Occurrences(run.Output, "Loaded config from "), 1u) << run.Output;
  EXPECT_EQ(Occurrences(run.Output, "Loaded plugin "), 1u) << run.Output;
  EXPECT_EQ(Occurrences(run.Output, "Unloaded plugin "), 1u) << run.Output;
  EXPECT_EQ(run.Output.find("[critical]"), std::string::npos) << run.Output;
}

// A build copied elsewhere runs on the files beside its program, not on those of the build it
// was copied from, and shows them by their paths from where it is started.
TEST_F(SandboxProgramTest, ACopiedBuildFindsItsOwnWorldSampleAndPlugin) {
  const fs::path program = fs::path(QV_SANDBOX_PATH);
  const fs::path copy = dir_ / "copied build";
  fs::create_directories(copy / "sandbox");
  fs::create_directories(copy / "plugin");
  fs::copy_file(program, copy / "sandbox" / program.filename());
  fs::copy_file(QV_PLUGIN_PATH, copy / "plugin" / fs::path(QV_PLUGIN_PATH).filename());
  std::ofstream(copy / "sandbox" / "world.json")
      << R"({"missions": [{"name": "Copied Hunt", "version": 1, "tag": "CopiedHunt"}],)"
      << R"( "players": [{"name": "Cora"}]})";
  std::ofstream(copy / "sandbox" / "sample-config.json")
      << R"({"DisabledMissions": ["copied"], "ShowConfigSummary": true})";

  const ProgramRun run = RunCommand(fmt::format(
      "cd '{}' && printf 'missions\nstart Cora Copied Hunt\n' | 'copied build/sandbox/{}' 2>&1",
      dir_.string(), program.filename().string()));
  EXPECT_EQ(run.Status, 0) << run.Output;
  ExpectInOrder(run.Output, {"Loaded config from ", ": 1 entry of \"DisabledMissions\" in force",
                             "Loaded plugin copied build/plugin/QuestVeto.so", "  Copied Hunt ",
                             "The start of \"Copied Hunt\" by Cora was refused"});

  const ProgramRun help = RunCommand(fmt::format("cd '{}' && 'copied build/sandbox/{}' --help",
                                                 dir_.string(), program.filename().string()));
  ExpectInOrder(help.Output, {"--world TEXT:FILE=copied build/sandbox/world.json",
                              "--plugin TEXT:FILE=[copied build/plugin/QuestVeto.so]",
                              "--sample-config TEXT:FILE=copied build/sandbox/sample-config.json"});
}

TEST_F(SandboxProgramTest, NoSampleConfigLeavesTheDirectoryAsAFreshInstallHasIt) {
  fs::remove_all(dir_ / "HostApi");
  const ProgramRun run = RunCommand(Sandbox("--no-sample-config </dev/null"));
  EXPECT_EQ(run.Status, 0) << run.Output;
  ExpectInOrder(run.Output, {"[critical] Failed to load config from " + dir_.string(),
                             "Can't open config.json", "Loaded plugin "});
  EXPECT_FALSE(fs::exists(ConfigFileIn(dir_)));
}

}  // namespace
