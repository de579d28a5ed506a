#include "tools/rcon/Password.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <stdexcept>

#include <fmt/format.h>

#include "host-bridge/Platform.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

namespace RconTool {
namespace {

#if defined(_WIN32)
std::string FromEnvironment() {
  const wchar_t* value = _wgetenv(L"QUESTVETO_RCON_PASSWORD");
  return value == nullptr ? std::string() : Platform::Utf8FromWide(value);
}

// The console's input mode before the prompt, for the handler of Ctrl-C and of closing the window.
HANDLE promptInput = nullptr;
DWORD promptMode = 0;

BOOL WINAPI RestoreConsoleMode(DWORD /*event*/) {
  SetConsoleMode(promptInput, promptMode);
  return FALSE;  // the default handling follows: the program ends
}

// A line typed on the console, without echo; none when standard input is no console.
std::optional<std::string> Typed() {
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  if (GetConsoleMode(input, &mode) == 0) return std::nullopt;
  promptInput = input;
  promptMode = mode;
  SetConsoleCtrlHandler(RestoreConsoleMode, TRUE);
  SetConsoleMode(input, mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
  std::fputs("Password: ", stderr);
  std::wstring line;
  wchar_t typed = 0;
  DWORD count = 0;
  // Ctrl-Z, the console's end of input, ends the line as well.
  while (ReadConsoleW(input, &typed, 1, &count, nullptr) != 0 && count == 1 && typed != L'\n' &&
         typed != 0x1A) {
    if (typed != L'\r') line.push_back(typed);
  }
  SetConsoleMode(input, mode);
  SetConsoleCtrlHandler(RestoreConsoleMode, FALSE);
  std::fputs("\n", stderr);
  return Platform::Utf8FromWide(line.c_str());
}
#else
std::string FromEnvironment() {
  const char* value = std::getenv(kPasswordVariable);
  return value == nullptr ? std::string() : value;
}

// The signals that end the program while it asks; each restores the terminal first.
constexpr std::array<int, 4> kEndingSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
// The terminal's mode before the prompt, for the signal handler.
termios promptMode{};

extern "C" void RestoreTerminalAndEnd(int signal) {
  tcsetattr(STDIN_FILENO, TCSAFLUSH, &promptMode);
  const char newline = '\n';
  if (write(STDERR_FILENO, &newline, 1) < 0) {
    // Nothing to do: the terminal's mode is what matters.
  }
  struct sigaction ending {};
  ending.sa_handler = SIG_DFL;
  sigaction(signal, &ending, nullptr);
  // Delivered once this handler returns, with the default action: the program ends as the
  // signal says, and its parent sees which signal it was.
  raise(signal);
}

// Echo off on the terminal on standard input for its lifetime, the mode restored however the
// prompt ends.
class SilentTerminal {
 public:
  explicit SilentTerminal(const termios& mode) {
    promptMode = mode;
    struct sigaction restoring {};
    restoring.sa_handler = RestoreTerminalAndEnd;
    sigemptyset(&restoring.sa_mask);
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
      sigaction(kEndingSignals[i], &restoring, &before_[i]);
    }
    termios silent = mode;
    silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
  }
  ~SilentTerminal() {
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &promptMode);
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
      sigaction(kEndingSignals[i], &before_[i], nullptr);
    }
  }
  SilentTerminal(const SilentTerminal&) = delete;
  SilentTerminal& operator=(const SilentTerminal&) = delete;

 private:
  std::array<struct sigaction, kEndingSignals.size()> before_{};
};

// A line typed on the terminal, without echo; none when standard input is no terminal. End of
// input (Ctrl-D) ends the line as Enter does.
std::optional<std::string> Typed() {
  termios mode{};
  if (isatty(STDIN_FILENO) == 0 || tcgetattr(STDIN_FILENO, &mode) != 0) return std::nullopt;
  std::string line;
  {
    // Silent before the prompt shows: nothing typed at once is echoed.
    const SilentTerminal silent(mode);
    std::fputs("Password: ", stderr);
    char typed = 0;
    for (;;) {
      const ssize_t count = read(STDIN_FILENO, &typed, 1);
      if (count < 0 && errno == EINTR) continue;
      if (count != 1 || typed == '\n') break;
      line.push_back(typed);
    }
  }
  std::fputs("\n", stderr);
  return line;
}
#endif

}  // namespace

std::string ReadPassword(bool fromStandardInput) {
  std::optional<std::string> password;
  if (fromStandardInput) {
    password.emplace();
    std::getline(std::cin, *password);
    if (!password->empty() && password->back() == '\r') password->pop_back();
  } else if (std::string set = FromEnvironment(); !set.empty()) {
    return set;
  } else {
    password = Typed();
    if (!password) {
      throw std::runtime_error(fmt::format(
          "no password, and standard input is no terminal to ask for one: set {}, give it in "
          "the server list or pipe it in with --password-stdin",
          kPasswordVariable));
    }
  }
  if (password->empty()) {
    throw std::runtime_error(
        fmt::format("no password: {}, set {} or give it in the server list",
                    fromStandardInput ? "standard input's first line is empty" : "none was typed",
                    kPasswordVariable));
  }
  return *password;
}

}  // namespace RconTool
