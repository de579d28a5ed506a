#include "tools/configcheck/ConsoleOutput.h"

#include <iostream>
#include <streambuf>
#include <string>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

// Collects the UTF-8 text and hands the console what lies before the last line end written so
// far, so that no character's bytes are ever split between two conversions; a flush hands over
// the rest.
class ConsoleOutput::Buffer : public std::streambuf {
 public:
  explicit Buffer(HANDLE console) : console_(console) {}

 protected:
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    pending_.append(text, static_cast<std::size_t>(count));
    return WriteLines() ? count : 0;
  }

  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    pending_.push_back(traits_type::to_char_type(c));
    return WriteLines() ? c : traits_type::eof();
  }

  int sync() override { return Write(pending_.size()) ? 0 : -1; }

 private:
  bool WriteLines() {
    const std::size_t lineEnd = pending_.rfind('\n');
    return lineEnd == std::string::npos || Write(lineEnd + 1);
  }

  // Writes the first `size` bytes of the pending text to the console and drops them; false when
  // the console refuses them.
  bool Write(std::size_t size) {
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, pending_.data(), static_cast<int>(size), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, pending_.data(), static_cast<int>(size), wide.data(), length);
    pending_.erase(0, size);
    for (std::size_t written = 0; written < wide.size();) {
      DWORD count = 0;
      if (WriteConsoleW(console_, wide.data() + written, static_cast<DWORD>(wide.size() - written),
                        &count, nullptr) == 0) {
        return false;
      }
      written += count;
    }
    return true;
  }

  HANDLE console_;
  std::string pending_;
};

namespace {

// The console the standard handle writes to, or null when it is a file, a pipe or the NUL device.
HANDLE ConsoleOf(DWORD standardHandle) {
  const HANDLE handle = GetStdHandle(standardHandle);
  DWORD mode = 0;
  return GetConsoleMode(handle, &mode) != 0 ? handle : nullptr;
}

}  // namespace

ConsoleOutput::ConsoleOutput(StandardStream which)
    : standard_(which == StandardStream::Output ? std::cout : std::cerr), consoleStream_(nullptr) {
  const HANDLE console =
      ConsoleOf(which == StandardStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  if (console == nullptr) return;
  console_ = std::make_unique<Buffer>(console);
  consoleStream_.rdbuf(console_.get());
}

ConsoleOutput::~ConsoleOutput() {
  if (console_) consoleStream_.flush();
}
