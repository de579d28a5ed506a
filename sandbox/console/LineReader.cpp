#include "sandbox/console/LineReader.h"

#include <fmt/format.h>

namespace Sandbox {

LineReader::LineReader(asio::io_context& io, int descriptor, LineHandler onLine, EndHandler onEnd,
                       RefusedHandler onRefused)
    : io_(io),
      input_(io, descriptor),
      onLine_(std::move(onLine)),
      onEnd_(std::move(onEnd)),
      onRefused_(std::move(onRefused)) {}

void LineReader::Start() {
  ReadLine();
}

// A line already in the buffer is delivered through the io_context too, as one read from the
// input would be, so that a long script does not nest handlers. An overlong line is dropped as
// soon as it is known to be one: whole when its break is in the buffer, else what the buffer holds
// of it, and the rest as it arrives.
void LineReader::ReadLine() {
  const std::size_t end = buffer_.find('\n');
  if (end == std::string::npos) {
    if (buffer_.size() > kMaxLineBytes) {
      buffer_.clear();
      dropping_ = true;
      Refuse();
    }
    input_.Read([this](std::string_view bytes, std::error_code error) { Take(bytes, error); });
    return;
  }
  asio::post(io_, [this, end] {
    if (end > kMaxLineBytes) {
      buffer_.erase(0, end + 1);
      Refuse();
      ReadLine();
    } else if (onLine_(TakeLine(end + 1))) {
      ReadLine();
    }
  });
}

void LineReader::Refuse() {
  onRefused_(fmt::format("A console line longer than {} bytes was refused", kMaxLineBytes));
}

void LineReader::Take(std::string_view bytes, std::error_code error) {
  if (error == asio::error::eof) {
    // A last line without a line break still counts.
    if (!buffer_.empty() && !onLine_(TakeLine(buffer_.size()))) return;
    return onEnd_("");
  }
  if (error) return onEnd_(fmt::format("reading the console failed: {}", error.message()));
  if (dropping_) {
    const std::size_t end = bytes.find('\n');
    if (end == std::string_view::npos) return ReadLine();
    bytes.remove_prefix(end + 1);
    dropping_ = false;
  }
  buffer_.append(bytes);
  ReadLine();
}

std::string LineReader::TakeLine(std::size_t length) {
  std::string line = buffer_.substr(0, length);
  buffer_.erase(0, length);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return line;
}

}  // namespace Sandbox
