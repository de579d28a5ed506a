#include "sandbox/LineReader.h"

#include <fcntl.h>

#include <fmt/format.h>

namespace Sandbox {
namespace {

// A longer line ends the input: console commands are short, and the bound keeps a runaway
// producer from filling memory.
constexpr std::size_t kMaxLine = std::size_t{64} * 1024;

}  // namespace

LineReader::LineReader(asio::io_context& io, int descriptor, LineHandler onLine, EndHandler onEnd)
    : input_(io, descriptor),
      originalFlags_(fcntl(descriptor, F_GETFL)),
      onLine_(std::move(onLine)),
      onEnd_(std::move(onEnd)) {}

// The descriptor's open file may be shared with the shell (a terminal): it is handed back in the
// blocking mode it came in.
LineReader::~LineReader() {
  const int descriptor = input_.release();
  if (originalFlags_ != -1) fcntl(descriptor, F_SETFL, originalFlags_);
}

void LineReader::Start() {
  ReadLine();
}

void LineReader::ReadLine() {
  asio::async_read_until(
      input_, asio::dynamic_buffer(buffer_, kMaxLine), '\n',
      [this](std::error_code error, std::size_t length) {
        if (error == asio::error::operation_aborted) return;
        if (!error) {
          if (onLine_(TakeLine(length))) ReadLine();
          return;
        }
        if (error == asio::error::eof) {
          // A last line without a line break still counts.
          if (!buffer_.empty() && !onLine_(TakeLine(buffer_.size()))) return;
          return onEnd_("");
        }
        onEnd_(error == asio::error::not_found
                   ? fmt::format("a console line is longer than {} bytes", kMaxLine)
                   : fmt::format("reading the console failed: {}", error.message()));
      });
}

std::string LineReader::TakeLine(std::size_t length) {
  std::string line = buffer_.substr(0, length);
  buffer_.erase(0, length);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return line;
}

}  // namespace Sandbox
