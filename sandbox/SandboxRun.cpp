#include "sandbox/SandboxRun.h"

#include <fcntl.h>
#include <unistd.h>
#if defined(_WIN32)
#include <io.h>
#endif

#include <csignal>
#include <filesystem>
#include <memory>
#include <system_error>

#include <fmt/format.h>
#include <asio.hpp>

#include "sandbox/console/Console.h"
#include "sandbox/console/ConsoleHistory.h"
#include "sandbox/console/ConsoleInput.h"
#include "sandbox/rcon/GameRcon.h"
#include "sandbox/console/LineEditor.h"
#include "sandbox/console/LineReader.h"
#include "sandbox/server/MessageFeed.h"
#include "sandbox/rcon/RconServer.h"
#include "sandbox/server/StandInServer.h"
#include "sandbox/server/Terminal.h"
#include "sandbox/server/WorldFile.h"
#include "standin/Registries.h"
#include "standin/World.h"

namespace Sandbox {
namespace {

// A file descriptor that closes itself.
class OpenFile {
 public:
  // `path` is UTF-8: on Windows it is opened as the UTF-16 text it stands for, so that a script
  // in a directory named in any script is found.
  explicit OpenFile(const std::string& path)
#if defined(_WIN32)
      : descriptor_(_wopen(std::filesystem::u8path(path).c_str(), _O_RDONLY)) {
#else
      : descriptor_(open(path.c_str(), O_RDONLY)) {
#endif
    if (descriptor_ < 0) {
      throw std::system_error(errno, std::generic_category(), "cannot open " + path);
    }
  }
  ~OpenFile() {
    close(descriptor_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  int Descriptor() const {
    return descriptor_;
  }

 private:
  int descriptor_;
};

// Where typed lines are kept: see ConsoleHistoryFile; in a scratch server directory, for this run
// only, when the user has no state directory.
std::string HistoryFile(const RunOptions& options) {
  const std::string kept = ConsoleHistoryFile(
      options.ScratchServerDir ? std::string() : options.ServerDir, ProcessEnvironment);
  return kept.empty() ? options.ServerDir + "/console-history" : kept;
}

}  // namespace

int RunSandbox(const RunOptions& options) {
  const Terminal terminal;
  const WorldPlan world = ReadWorldFile(options.WorldFile);
  terminal.Line(fmt::format("Server directory: {}", options.ServerDir));

  StandInServer server(options.ServerDir, world, terminal);
  if (options.RefuseHooks) StandIn::Hooks::RefuseInstalls();
  for (const std::string& plugin : options.Plugins) server.LoadPlugin(plugin);
  MessageFeed feed(server.Players(), terminal);
  const bool typed = options.Script.empty() && IsTypedConsole(STDIN_FILENO);
  Console console(server, terminal, feed, !typed);
  GameRcon rcon(terminal, &feed);

  // Everything below runs on this thread, inside io.run(); the handlers it holds refer to the
  // objects above, which outlive it.
  asio::io_context io;
  int status = 0;
  auto stop = [&](const std::string& why) {
    if (!why.empty()) terminal.Line(why);
    io.stop();
  };

  asio::signal_set signals(io, SIGINT, SIGTERM);
  signals.async_wait([&](std::error_code error, int signal) {
    if (!error) stop(fmt::format("Signal {} received", signal == SIGINT ? "SIGINT" : "SIGTERM"));
  });

  std::unique_ptr<RconServer> listener;
  if (options.Rcon) {
    listener = std::make_unique<RconServer>(io, *options.Rcon, rcon);
    const auto endpoint = listener->Endpoint();
    terminal.Line(
        fmt::format("RCON listening on {}:{}", endpoint.address().to_string(), endpoint.port()));
  }

  std::unique_ptr<OpenFile> script;
  if (!options.Script.empty()) script = std::make_unique<OpenFile>(options.Script);
  auto onLine = [&](const std::string& line) {
    if (console.Execute(line)) return true;
    stop("");
    return false;
  };
  auto onEnd = [&](const std::string& problem) {
    if (!problem.empty()) status = 1;
    stop(problem.empty() ? "End of input" : problem);
  };
  auto onRefused = [&](const std::string& why) { terminal.Line(why); };
  std::unique_ptr<LineSource> input;
  if (typed) {
    input = OpenLineEditor(
        io, HistoryFile(options),
        [&](const std::string& beforeCursor) {
          return CompleteConsoleLine(beforeCursor, console.Names());
        },
        onLine, onEnd);
  }
  if (input) {
    terminal.Line("Type help for the commands, quit to stop; Tab completes, Up recalls.");
  } else if (typed) {
    // The Windows console edits and recalls typed lines itself; the prompt is ours.
    terminal.Line("Type help for the commands, quit to stop; Up recalls this run's lines.");
    terminal.Prompt("> ");
    input = std::make_unique<LineReader>(
        io, STDIN_FILENO,
        [&](const std::string& line) {
          const bool more = onLine(line);
          if (more) terminal.Prompt("> ");
          return more;
        },
        onEnd,
        [&](const std::string& why) {
          onRefused(why);
          terminal.Prompt("> ");
        });
  } else {
    input = std::make_unique<LineReader>(io, script ? script->Descriptor() : STDIN_FILENO, onLine,
                                         onEnd, onRefused);
  }
  input->Start();
  io.run();

  terminal.Line(options.Plugins.size() == 1 ? "Stopping: unloading the plugin"
                                            : "Stopping: unloading the plugins");
  return status;
}

}  // namespace Sandbox
