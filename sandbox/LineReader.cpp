#include "sandbox/LineReader.h"

#include <fmt/format.h>

namespace Sandbox {
namespace {

// A longer line ends the input: console commands are short, and the bound keeps a runaway
// producer from filling memory.
constexpr std::size_t kMaxLine = std::size_t{64} * 1024;

}  // namespace

LineReader::LineReader(asio::io_context& io, int descriptor, LineHandler onLine, EndHandler onEnd)
    : io_(io), input_(io, descriptor), onLine_(std::move(onLine)), onEnd_(std::move(onEnd)) {}

void LineReader::Start() {
  ReadLine();
}

// A line already in the buffer is delivered through the io_context too, as one read from the
// input would be, so that a long script does not nest handlers.
void LineReader::ReadLine() {
  const std::size_t end = buffer_.find('\n');
  if (end == std::string::npos) {
    input_.Read([this](std::string_view bytes, std::error_code error) { Take(bytes, error); });
    return;
  }
  asio::post(io_, [this, end] {
    if (onLine_(TakeLine(end + 1))) ReadLine();
  });
}

void LineReader::Take(std::string_view bytes, std::error_code error) {
  if (error == asio::error::eof) {
    // A last line without a line break still counts.
    if (!buffer_.empty() && !onLine_(TakeLine(buffer_.size()))) return;
    return onEnd_("");
  }
  if (error) return onEnd_(fmt::format("reading the console failed: {}", error.message()));
  buffer_.append(bytes);
  const std::size_t end = buffer_.find('\n');
  if ((end == std::string::npos ? buffer_.size() : end) > kMaxLine) {
    return onEnd_(fmt::format("a console line is longer than {} bytes", kMaxLine));
  }
  ReadLine();
}

std::string LineReader::TakeLine(std::size_t length) {
  std::string line = buffer_.substr(0, length);
  buffer_.erase(0, length);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return line;
}

}  // namespace Sandbox
