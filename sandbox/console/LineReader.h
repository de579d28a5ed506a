// Console lines from a file descriptor (standard input or a script), delivered one at a time on
// the io_context's thread, so that console commands and RCON requests reach the game from that
// one thread. The next line is read only after the handler for the previous one returned.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include <asio.hpp>

#include "sandbox/console/ConsoleInput.h"

namespace Sandbox {

// A source of console lines, which starts delivering them at Start.
class LineSource {
 public:
  virtual ~LineSource() = default;
  virtual void Start() = 0;
};

class LineReader final : public LineSource {
 public:
  // Called with each line, without its line break; answers false to stop reading.
  using LineHandler = std::function<bool(const std::string& line)>;
  // Called once when the input ends or fails (`problem` empty at a plain end of input), unless
  // the line handler stopped the reading.
  using EndHandler = std::function<void(const std::string& problem)>;

  // Called for each line longer than kMaxLineBytes, which is dropped, with why; reading goes on
  // with the next line.
  using RefusedHandler = std::function<void(const std::string& why)>;

  // The longest line taken: console commands are short, and the bound keeps a runaway producer
  // from filling memory.
  static constexpr std::size_t kMaxLineBytes = std::size_t{64} * 1024;

  // Reads `descriptor`, which stays open afterwards (it is not the reader's). Regular files are
  // read as well as pipes and terminals.
  LineReader(asio::io_context& io, int descriptor, LineHandler onLine, EndHandler onEnd,
             RefusedHandler onRefused);
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  void Start() override;

 private:
  void ReadLine();
  void Refuse();
  void Take(std::string_view bytes, std::error_code error);
  // Takes the first line out of the buffer, or the rest at the end of input.
  std::string TakeLine(std::size_t length);

  asio::io_context& io_;
  ConsoleInput input_;
  LineHandler onLine_;
  EndHandler onEnd_;
  RefusedHandler onRefused_;
  std::string buffer_;     // what was read and not yet delivered: never a whole overlong line
  bool dropping_ = false;  // the rest of a refused line is still to come, up to its line break
};

}  // namespace Sandbox
