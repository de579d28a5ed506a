// questveto-rcon: sends one RCON command to one server, or to every server of a list file (a
// cluster of maps sharing one config needs one "qv.reload" each), prints each server's reply
// under its name, and exits non-zero when any server could not be reached, refused the password
// or answered with a failure reply. See --help.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <fmt/format.h>
#include <CLI/CLI.hpp>

#include "host/Platform.h"
#include "tools/rcon/Password.h"
#include "tools/rcon/RconClient.h"
#include "tools/rcon/ServerList.h"

namespace {

using RconTool::ServerEntry;

// Replies that say the command did not do its work: a failed reload, and the host's answer to a
// command it does not know.
bool IsFailureReply(const std::string& reply) {
  return reply.rfind("QuestVeto: Failed to ", 0) == 0 || reply.rfind("Unknown command: ", 0) == 0;
}

std::vector<ServerEntry> ReadServerList(const std::string& path) {
  std::ifstream file;
  Platform::OpenForReading(file, path, std::ios::binary);
  if (!file) throw std::invalid_argument(fmt::format("cannot open the server list {}", path));
  std::ostringstream text;
  text << file.rdbuf();
  return RconTool::ParseServerList(text.str(), path);
}

// Runs `command` on `server` and prints what came of it; whether it did its work.
bool RunOn(const ServerEntry& server, const std::string& password, const std::string& command,
           std::chrono::milliseconds timeout) {
  try {
    RconTool::RconClient client(timeout);
    client.Connect(server.Host, server.Port);
    if (!client.Authenticate(password)) {
      fmt::print(stderr, "{}: the password was refused\n", server.Name);
      return false;
    }
    const std::string reply = client.Execute(command);
    std::istringstream lines(reply);
    std::string line;
    bool printed = false;
    while (std::getline(lines, line)) {
      fmt::print("{}: {}\n", server.Name, line);
      printed = true;
    }
    if (!printed) fmt::print("{}: (an empty reply)\n", server.Name);
    std::fflush(stdout);
    return !IsFailureReply(reply);
  } catch (const std::exception& error) {
    fmt::print(stderr, "{}: {}\n", server.Name, error.what());
    return false;
  }
}

int RunProgram(int argc, char** argv) {
  CLI::App app{
      "Sends one RCON command to a server, or to every server of a list, and prints "
      "each server's reply under its name"};
  std::string address;
  std::string listPath;
  int timeoutSeconds = 5;
  std::vector<std::string> words;
  CLI::Option* one = app.add_option(
      "--server", address,
      fmt::format("The server as <host>:<port>; its password comes from {} or is asked for",
                  RconTool::kPasswordVariable));
  CLI::Option* list = app.add_option(
      "--list", listPath,
      fmt::format("A file of servers, one a line: <name> <host>:<port> [<password>]; a server "
                  "without a password gets the one from {} or asked for",
                  RconTool::kPasswordVariable));
  one->excludes(list);
  app.add_option("--timeout", timeoutSeconds,
                 "Seconds each server has for each step: connecting, authenticating, answering")
      ->check(CLI::PositiveNumber)
      ->capture_default_str();
  app.add_option("command", words, "The command and its words, such as qv.reload")->required();
  app.footer(
      "Passwords are never taken from the command line. Exit status: 0 when every server ran the "
      "command; 1 when any could not be reached, refused the password or answered with a failure "
      "reply (\"QuestVeto: Failed to reload config\", \"Unknown command: ...\").");
  CLI11_PARSE(app, argc, argv);
  if (!*one && !*list) {
    fmt::print(stderr, "questveto-rcon: give --server <host>:<port> or --list <file>\n");
    return 2;
  }

  // Each server catches its own failures: what reaches the handler is a fault of the command line
  // (the list file, the password's source).
  try {
    std::string command;
    for (const std::string& word : words) command += (command.empty() ? "" : " ") + word;
    const std::vector<ServerEntry> servers =
        *one ? std::vector<ServerEntry>{RconTool::ParseServerAddress(address)}
             : ReadServerList(listPath);
    std::optional<std::string> sharedPassword;
    for (const ServerEntry& server : servers) {
      if (!server.Password && !sharedPassword) sharedPassword = RconTool::ReadPassword();
    }

    std::vector<std::string> failed;
    for (const ServerEntry& server : servers) {
      if (!RunOn(server, server.Password ? *server.Password : *sharedPassword, command,
                 std::chrono::seconds(timeoutSeconds))) {
        failed.push_back(server.Name);
      }
    }
    if (failed.empty()) return 0;
    std::string names;
    for (const std::string& name : failed) names += (names.empty() ? "" : ", ") + name;
    fmt::print(stderr, "questveto-rcon: {} of {} servers failed: {}\n", failed.size(),
               servers.size(), names);
    return 1;
  } catch (const std::exception& error) {
    fmt::print(stderr, "questveto-rcon: {}\n", error.what());
    return 2;
  }
}

}  // namespace

// NOLINTNEXTLINE(bugprone-exception-escape): what escapes ends the program with its message.
QV_MAIN_WITH_UTF8_ARGUMENTS(RunProgram);
