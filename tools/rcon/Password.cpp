#include "tools/rcon/Password.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <stdexcept>

#include <fmt/format.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

namespace RconTool {
namespace {

#if defined(_WIN32)
std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                      nullptr, nullptr);
  return bytes;
}

std::string FromEnvironment() {
  const wchar_t* value = _wgetenv(L"QUESTVETO_RCON_PASSWORD");
  return value == nullptr ? std::string() : Utf8(value);
}

// A line typed on the console, without echo; none when standard input is no console.
std::optional<std::string> Typed() {
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  if (GetConsoleMode(input, &mode) == 0) return std::nullopt;
  std::fputs("Password: ", stderr);
  SetConsoleMode(input, mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
  std::wstring line;
  wchar_t typed = 0;
  DWORD count = 0;
  while (ReadConsoleW(input, &typed, 1, &count, nullptr) != 0 && count == 1 && typed != L'\n') {
    if (typed != L'\r') line.push_back(typed);
  }
  SetConsoleMode(input, mode);
  std::fputs("\n", stderr);
  return Utf8(line);
}
#else
std::string FromEnvironment() {
  const char* value = std::getenv(kPasswordVariable);
  return value == nullptr ? std::string() : value;
}

// A line typed on the terminal, without echo; none when standard input is no terminal.
std::optional<std::string> Typed() {
  termios mode{};
  if (isatty(STDIN_FILENO) == 0 || tcgetattr(STDIN_FILENO, &mode) != 0) return std::nullopt;
  std::fputs("Password: ", stderr);
  termios silent = mode;
  silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
  tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
  std::string line;
  std::getline(std::cin, line);
  tcsetattr(STDIN_FILENO, TCSAFLUSH, &mode);
  std::fputs("\n", stderr);
  return line;
}
#endif

}  // namespace

std::string ReadPassword() {
  if (std::string password = FromEnvironment(); !password.empty()) return password;
  std::optional<std::string> password = Typed();
  if (!password) {
    password.emplace();
    std::getline(std::cin, *password);
    if (!password->empty() && password->back() == '\r') password->pop_back();
  }
  if (password->empty()) {
    throw std::runtime_error(
        fmt::format("no password: set {}, type it when asked, or give it in the server list",
                    kPasswordVariable));
  }
  return *password;
}

}  // namespace RconTool
