// questveto-sandbox: a stand-in dedicated server with the plugin loaded, for trying a
// configuration before it goes to a real server. See --help.
#include <filesystem>
#include <optional>
#include <stdexcept>

#include <fmt/format.h>
#include <CLI/CLI.hpp>

#include "host-bridge/Platform.h"
#include "sandbox/console/ConsoleInput.h"
#include "sandbox/ProgramFiles.h"
#include "sandbox/rcon/RconPassword.h"
#include "sandbox/SandboxRun.h"
#include "sandbox/ServerDirectory.h"
#include "common/CommandLine.h"

namespace {

int RunProgram(int argc, char** argv) {
  Sandbox::AttachNullToClosedStandardStreams();
  CLI::App app{"Stand-in dedicated server with the QuestVeto plugin", "questveto-sandbox"};
  app.footer(
      "Exit status: 0 when the server ran and stopped, 1 when it could not start or reading its "
      "console failed, 2 for a wrong command line.");
  Sandbox::RunOptions options;
  // The build puts these beside the program, so that a copied build finds its own.
  const std::filesystem::path here = Sandbox::ProgramDirectory();
  options.WorldFile = Sandbox::ShownPath(here / "world.json");
  options.Plugins = {Sandbox::ShownPath(here / QV_PLUGIN_FROM_PROGRAM)};
  std::string sampleConfig = Sandbox::ShownPath(here / "sample-config.json");
  // Paths beyond ASCII are checked as the UTF-8 text they arrive as, on Windows too.
  const CLI::Validator existingFile(Sandbox::ExistingFile, "FILE");
  Sandbox::RconSettings rcon;
  int idleSeconds =
      static_cast<int>(std::chrono::duration_cast<std::chrono::seconds>(rcon.IdleTimeout).count());

  app.add_option("--dir", options.ServerDir,
                 "Server directory; the sample config is copied in when it has none (default: a "
                 "fresh one, removed at exit)");
  bool keepDir = false;
  app.add_flag("--keep-dir", keepDir, "Keep the fresh server directory at exit")->excludes("--dir");
  app.add_option("--world", options.WorldFile, "World file: the missions and players")
      ->check(existingFile)
      ->capture_default_str();
  app.add_option("--script", options.Script, "Run the console lines of this file, then stop")
      ->check(existingFile);
  app.add_option("--plugin", options.Plugins,
                 "A plugin library to load; give it again for more, loaded in this order and "
                 "unloaded in the reverse")
      ->check(existingFile)
      ->capture_default_str();
  CLI::Option* sample = app.add_option("--sample-config", sampleConfig,
                                       "config.json for a server directory that has none")
                            ->check(existingFile)
                            ->capture_default_str();
  bool noSample = false;
  app.add_flag("--no-sample-config", noSample,
               "Leave a server directory without config.json as it is, as on a fresh install")
      ->excludes(sample);
  app.add_flag("--refuse-hooks", options.RefuseHooks,
               "The host refuses every hook a plugin installs, as it refuses a function it does "
               "not know");
  CLI::Option* port = app.add_option("--rcon-port", rcon.Port,
                                     "Listen for RCON clients on this TCP port (0: any free port)");
  CLI::Option* password = app.add_option(
      "--rcon-password", rcon.Password,
      fmt::format("The password RCON clients must give; other users see it (ps): prefer "
                  "--rcon-password-file or {}",
                  Sandbox::kRconPasswordVariable));
  std::string passwordFile;
  CLI::Option* passwordFileOption =
      app.add_option("--rcon-password-file", passwordFile,
                     "A file whose first line is the password RCON clients must give")
          ->check(existingFile)
          ->excludes(password);
  app.add_option("--rcon-address", rcon.Address, "The address RCON listens on")
      ->capture_default_str();
  app.add_option("--rcon-idle-timeout", idleSeconds,
                 "Seconds after which an RCON client that sends nothing is disconnected")
      ->check(CLI::PositiveNumber)
      ->capture_default_str();
  app.add_flag("--rcon-empty-response-first", rcon.EmptyResponseFirst,
               "Answer an RCON authentication with an empty response before the verdict");
  password->needs(port)->check(
      [](const std::string& text) { return text.empty() ? "must not be empty" : ""; });
  passwordFileOption->needs(port);
  if (const std::optional<int> status = CommandLine::Parse(app, argc, argv)) return *status;
  if (*port) {
    try {
      rcon.Password =
          Sandbox::RconPassword(rcon.Password, passwordFile, Sandbox::ProcessEnvironment);
    } catch (const std::runtime_error& error) {
      app.exit(CLI::ValidationError("--rcon-port", error.what()));
      return CommandLine::kUsageError;
    }
  }

  try {
    std::optional<Sandbox::ScratchDir> scratch;
    if (options.ServerDir.empty()) {
      // Shown, and handed to the plugins, written the system's way.
      options.ServerDir = Platform::NativeSeparators(
          Sandbox::FreshServerDir(noSample ? std::string() : sampleConfig));
      options.ScratchServerDir = true;
      scratch.emplace(options.ServerDir, keepDir);
    } else if (!noSample && Sandbox::ProvideSampleConfig(options.ServerDir, sampleConfig)) {
      fmt::print("No config.json in {}: copied the sample {} there\n", options.ServerDir,
                 sampleConfig);
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

}  // namespace

// NOLINTNEXTLINE(bugprone-exception-escape): what escapes ends the program with its message.
QV_MAIN_WITH_UTF8_ARGUMENTS(RunProgram);
