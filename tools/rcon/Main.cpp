// questveto-rcon: sends one RCON command to one server, or to every server of a list file (a
// cluster of maps sharing one config needs one "qv.reload" each), asked at the same time, prints
// each server's reply under its name in the order of the list, and exits 1 when any server could
// not be reached, refused the password or answered with a failure reply. See --help.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <fmt/format.h>
#include <CLI/CLI.hpp>

#include "host-bridge/Platform.h"
#include "common/CommandLine.h"
#include "tools/rcon/InListOrder.h"
#include "tools/rcon/ListAccess.h"
#include "tools/rcon/Password.h"
#include "common/PrintableText.h"
#include "tools/rcon/RconClient.h"
#include "tools/rcon/ServerList.h"

namespace {

using RconTool::ServerEntry;
using RconTool::ServerOutcome;

constexpr double kMaxTimeoutSeconds = 3600;
constexpr std::size_t kMaxConnections = 64;

const char* const kFooter =
    "The list file holds one server a line: <name> <host>:<port> [<password>], in UTF-8 or "
    "UTF-16. Passwords are never taken from the command line: a server without one in the list "
    "gets with --password-stdin the first line of standard input, otherwise the one in "
    "QUESTVETO_RCON_PASSWORD or the one typed when asked.\n"
    "Exit status: 0 when every server ran the command; 1 when any could not be reached, refused "
    "the password or answered with a failure reply (\"QuestVeto: Failed to reload config\", "
    "\"Unknown command: ...\"); 2 for a wrong command line, a list file that cannot be used or no "
    "password.";

// Replies that say the command did not do its work: a failed reload, and the host's answer to a
// command it does not know.
bool IsFailureReply(const std::string& reply) {
  return reply.rfind("QuestVeto: Failed to ", 0) == 0 || reply.rfind("Unknown command: ", 0) == 0;
}

std::vector<ServerEntry> ReadServerList(const std::string& path) {
  std::ifstream file;
  Platform::OpenForReading(file, path, std::ios::binary);
  if (!file) {
    throw std::invalid_argument(fmt::format("cannot open the server list {}", Printable(path)));
  }
  std::ostringstream text;
  text << file.rdbuf();
  return RconTool::ParseServerList(text.str(), path);
}

// Runs `command` on `server`; what came of it.
ServerOutcome Ask(const ServerEntry& server, const std::string& password,
                  const std::string& command, std::chrono::milliseconds timeout) {
  const std::string name = Printable(server.Name);
  try {
    RconTool::RconClient client(timeout);
    client.Connect(server.Host, server.Port);
    if (!client.Authenticate(password))
      return {{{true, name + ": the password was refused"}}, false};
    const std::string reply = client.Execute(command);
    ServerOutcome outcome{{}, !IsFailureReply(reply)};
    std::istringstream lines(reply);
    std::string line;
    while (std::getline(lines, line))
      outcome.Lines.push_back({false, name + ": " + Printable(line)});
    if (outcome.Lines.empty()) outcome.Lines.push_back({false, name + ": (an empty reply)"});
    return outcome;
  } catch (const std::exception& error) {
    return {{{true, name + ": " + Printable(error.what())}}, false};
  }
}

// "" for a number of seconds questveto-rcon waits for; otherwise what is wrong with it.
std::string CheckTimeout(const std::string& text) {
  char* end = nullptr;
  const double seconds = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || *end != '\0' || !std::isfinite(seconds) || seconds <= 0 ||
      seconds > kMaxTimeoutSeconds) {
    return fmt::format("{} is not a number of seconds above 0 and at most {} (such as 5 or 0.5)",
                       Printable(text), kMaxTimeoutSeconds);
  }
  return "";
}

int RunProgram(int argc, char** argv) {
  CLI::App app{
      "Sends one RCON command to a server, or to every server of a list at the same time, and "
      "prints each server's reply under its name, in the order of the list",
      "questveto-rcon"};
  std::string address;
  std::string listPath;
  double timeoutSeconds = 5;
  std::size_t connections = 8;
  bool passwordFromInput = false;
  std::vector<std::string> words;
  CLI::Option* one = app.add_option("--server", address, "The server as <host>:<port>");
  CLI::Option* list =
      app.add_option("--list", listPath, "A file of servers, one a line")->type_name("FILE");
  one->excludes(list);
  app.add_option("--timeout", timeoutSeconds,
                 "Seconds each server has for each step: connecting, authenticating, answering")
      ->check(CLI::Validator(CheckTimeout, "SECONDS"))
      ->capture_default_str();
  app.add_option("--connections", connections, "Servers of a list asked at the same time, at most")
      ->check(CLI::Range(std::size_t{1}, kMaxConnections))
      ->capture_default_str();
  app.add_flag("--password-stdin", passwordFromInput,
               "Read the password for servers without one from the first line of standard input");
  app.add_option("command", words, "The command and its words, such as qv.reload")->required();
  app.footer(kFooter);
  if (const std::optional<int> status = CommandLine::Parse(app, argc, argv)) return *status;
  if (!*one && !*list) {
    fmt::print(stderr, "questveto-rcon: give --server <host>:<port> or --list <file>\n");
    return CommandLine::kUsageError;
  }

  // Each server catches its own failures: what reaches the handler is a fault of the command line
  // (the list file, the password's source).
  std::vector<ServerEntry> servers;
  std::string sharedPassword;
  try {
    servers = *one ? std::vector<ServerEntry>{RconTool::ParseServerAddress(address)}
                   : ReadServerList(listPath);
    bool listHoldsPasswords = false;
    bool someNeedShared = false;
    for (const ServerEntry& server : servers) {
      (server.Password ? listHoldsPasswords : someNeedShared) = true;
    }
    if (listHoldsPasswords) {
      if (const std::optional<std::string> warning = RconTool::ReadableByOthers(listPath)) {
        fmt::print(stderr, "questveto-rcon: warning: {}\n", *warning);
      }
    }
    if (someNeedShared) sharedPassword = RconTool::ReadPassword(passwordFromInput);
  } catch (const std::exception& error) {
    fmt::print(stderr, "questveto-rcon: {}\n", error.what());
    return CommandLine::kUsageError;
  }

  std::string command;
  for (const std::string& word : words) command += (command.empty() ? "" : " ") + word;
  const auto timeout =
      std::chrono::milliseconds(std::max<long long>(1, std::llround(timeoutSeconds * 1000)));
  std::vector<std::string> failed;
  RconTool::RunInListOrder(
      servers.size(), connections,
      [&](std::size_t index) {
        const ServerEntry& server = servers[index];
        return Ask(server, server.Password ? *server.Password : sharedPassword, command, timeout);
      },
      [&](std::size_t index, const ServerOutcome& outcome) {
        for (const ServerOutcome::Line& line : outcome.Lines) {
          std::FILE* stream = line.Error ? stderr : stdout;
          fmt::print(stream, "{}\n", line.Text);
          std::fflush(stream);
        }
        if (!outcome.Succeeded) failed.push_back(Printable(servers[index].Name));
      });
  if (failed.empty()) return CommandLine::kSucceeded;
  std::string names;
  for (const std::string& name : failed) names += (names.empty() ? "" : ", ") + name;
  fmt::print(stderr, "questveto-rcon: {} of {} servers failed: {}\n", failed.size(), servers.size(),
             names);
  return CommandLine::kPartlyFailed;
}

}  // namespace

// NOLINTNEXTLINE(bugprone-exception-escape): what escapes ends the program with its message.
QV_MAIN_WITH_UTF8_ARGUMENTS(RunProgram);
