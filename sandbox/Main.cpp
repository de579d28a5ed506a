// questveto-sandbox: a stand-in dedicated server with the plugin loaded, for trying a
// configuration before it goes to a real server. See --help.
#include <unistd.h>

#include <filesystem>

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

}  // namespace

// NOLINTNEXTLINE(bugprone-exception-escape): what escapes ends the program with its message.
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
                 "Server directory (default: a fresh one holding the sample config)");
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
    if (options.ServerDir.empty()) options.ServerDir = FreshServerDir(sampleConfig);
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
