// questveto-sandbox: a stand-in dedicated server with the plugin loaded, for trying a
// configuration before it goes to a real server.
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iostream>

#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include "sandbox/Sandbox.h"

namespace fs = std::filesystem;

namespace {

volatile std::sig_atomic_t stopRequested = 0;

// A fresh server directory holding the sample configuration.
std::string FreshServerDir(const std::string& sampleConfig) {
  fs::path dir = fs::temp_directory_path() / fmt::format("questveto-sandbox-{}", getpid());
  fs::remove_all(dir);
  fs::create_directories(dir / "HostApi/Plugins/QuestVeto");
  fs::copy_file(sampleConfig, dir / "HostApi/Plugins/QuestVeto/config.json");
  return dir.string();
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Stand-in dedicated server with the QuestVeto plugin"};
  std::string serverDir;
  std::string script;
  std::string plugin = QV_PLUGIN_PATH;
  std::string sampleConfig = QV_SAMPLE_CONFIG;
  app.add_option("--dir", serverDir, "Server directory (default: a fresh one with the sample config)");
  app.add_option("--script", script, "Run the console lines of this file, then stop")
      ->check(CLI::ExistingFile);
  app.add_option("--plugin", plugin, "The plugin library to load")->check(CLI::ExistingFile);
  app.add_option("--sample-config", sampleConfig, "config.json for a fresh server directory")
      ->check(CLI::ExistingFile);
  CLI11_PARSE(app, argc, argv);

  std::signal(SIGINT, [](int) { stopRequested = 1; });
  std::signal(SIGTERM, [](int) { stopRequested = 1; });

  try {
    if (serverDir.empty()) serverDir = FreshServerDir(sampleConfig);
    fmt::print("Server directory: {}\n", serverDir);
    Sandbox::Server server(serverDir, stdout, isatty(STDOUT_FILENO) != 0);
    server.LoadPlugin(plugin);

    std::ifstream scriptFile;
    if (!script.empty()) scriptFile.open(script);
    std::istream& in = script.empty() ? std::cin : scriptFile;
    std::string line;
    while (!stopRequested && std::getline(in, line) && server.Execute(line)) {
    }
    fmt::print("Stopping: unloading the plugin\n");
  } catch (const std::exception& error) {
    fmt::print(stderr, "questveto-sandbox: {}\n", error.what());
    return 1;
  }
  return 0;
}
