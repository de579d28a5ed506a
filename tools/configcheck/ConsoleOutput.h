// Windows: the checker's report on a console. A console shows the bytes a program writes in its
// output code page (437, 850, ... unless changed), in which UTF-8 text shows each letter beyond
// ASCII as two to four others. So a console is handed the text as UTF-16 (WriteConsoleW), which
// it shows whole whatever its code page, and its code page, shared with the other programs on it,
// is left as it is. Output redirected to a file or a pipe stays the UTF-8 bytes.
#pragma once

#include <memory>
#include <ostream>

enum class StandardStream { Output, Error };

// The stream for what the checker would write to std::cout or std::cerr: that stream itself when
// it is redirected, otherwise a stream that writes to its console as UTF-16. The console stream
// hands over each line as soon as its line end is written, and what is left when it is flushed or
// destroyed; bytes that are not UTF-8 show as U+FFFD.
class ConsoleOutput {
 public:
  explicit ConsoleOutput(StandardStream which);
  ~ConsoleOutput();
  ConsoleOutput(const ConsoleOutput&) = delete;
  ConsoleOutput& operator=(const ConsoleOutput&) = delete;

  std::ostream& Stream() { return console_ ? consoleStream_ : standard_; }

 private:
  class Buffer;
  std::ostream& standard_;
  std::unique_ptr<Buffer> console_;  // null when the stream is redirected
  std::ostream consoleStream_;
};
