// questveto-sandbox: a stand-in dedicated server with the plugin loaded, for trying a
// configuration before it goes to a real server. See --help.
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include <fmt/format.h>
#include <CLI/CLI.hpp>

#include "sandbox/SandboxRun.h"

namespace fs = std::filesystem;

namespace {

// A fresh server directory holding the sample configuration.
std::string FreshServerDir(const std::string& sampleConfig) {
  fs::path dir = fs::temp_directory_path() / fmt::format("questveto-sandbox-{}", getpid());
  fs::remove_all(dir);
  fs::create_directories(dir / "HostApi/Plugins/QuestVeto");
  fs::copy_file(sampleConfig, dir / "HostApi/Plugins/QuestVeto/config.json");
  return dir.string();
}

// A server directory made for one run: removed when the run ends, unless the operator asked to
// keep it.
class ScratchDir {
 public:
  ScratchDir(std::string path, bool keep) : path_(std::move(path)), keep_(keep) {}
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  ~ScratchDir() {
    if (keep_) {
      fmt::print("Kept the server directory {}\n", path_);
      return;
    }
    std::error_code ignored;
    fs::remove_all(path_, ignored);
    fmt::print("Removed the server directory {} (--keep-dir keeps it)\n", path_);
  }

 private:
  std::string path_;
  bool keep_;
};

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Stand-in dedicated server with the QuestVeto plugin"};
  Sandbox::RunOptions options;
  options.WorldFile = QV_SANDBOX_WORLD;
  options.Plugin = QV_PLUGIN_PATH;
  std::string sampleConfig = QV_SAMPLE_CONFIG;
  Sandbox::RconSettings rcon;
  int idleSeconds =
      static_cast<int>(std::chrono::duration_cast<std::chrono::seconds>(rcon.IdleTimeout).count());

  app.add_option("--dir", options.ServerDir,
                 "Server directory (default: a fresh one holding the sample config, removed at "
                 "exit)");
  bool keepDir = false;
  app.add_flag("--keep-dir", keepDir, "Keep the fresh server directory at exit")->excludes("--dir");
  app.add_option("--world", options.WorldFile, "World file: the missions and players")
      ->check(CLI::ExistingFile)
      ->capture_default_str();
  app.add_option("--script", options.Script, "Run the console lines of this file, then stop")
      ->check(CLI::ExistingFile);
  app.add_option("--plugin", options.Plugin, "The plugin library to load")
      ->check(CLI::ExistingFile)
      ->capture_default_str();
  app.add_option("--sample-config", sampleConfig, "config.json for a fresh server directory")
      ->check(CLI::ExistingFile)
      ->capture_default_str();
  CLI::Option* port = app.add_option("--rcon-port", rcon.Port,
                                     "Listen for RCON clients on this TCP port (0: any free port)");
  CLI::Option* password =
      app.add_option("--rcon-password", rcon.Password, "The password RCON clients must give");
  app.add_option("--rcon-address", rcon.Address, "The address RCON listens on")
      ->capture_default_str();
  app.add_option("--rcon-idle-timeout", idleSeconds,
                 "Seconds after which an RCON client that sends nothing is disconnected")
      ->check(CLI::PositiveNumber)
      ->capture_default_str();
  port->needs(password);
  password->needs(port)->check(
      [](const std::string& text) { return text.empty() ? "must not be empty" : ""; });
  CLI11_PARSE(app, argc, argv);

  try {
    std::optional<ScratchDir> scratch;
    if (options.ServerDir.empty()) {
      options.ServerDir = FreshServerDir(sampleConfig);
      scratch.emplace(options.ServerDir, keepDir);
    }
    if (*port) {
      rcon.IdleTimeout = std::chrono::seconds(idleSeconds);
      options.Rcon = rcon;
    }
    return Sandbox::RunSandbox(options);
  } catch (const std::exception& error) {
    fmt::print(stderr, "questveto-sandbox: {}\n", error.what());
    return 1;
  }
}
