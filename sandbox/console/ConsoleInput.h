// The bytes of a console descriptor (standard input or an open script), delivered chunk by chunk
// on an io_context's thread. This is where the platforms differ: a POSIX descriptor is waited on
// by the io_context itself, while Windows console input has nothing to wait on, so a thread of
// its own reads it and posts each chunk to the io_context. Chunks are UTF-8 wherever the input
// is: a Windows console's typed lines are read as UTF-16 and converted.
#pragma once

#include <functional>
#include <memory>
#include <string_view>
#include <system_error>

#include <asio.hpp>

namespace Sandbox {

// Whether `descriptor` is a terminal or console that a person types at (on Windows the NUL
// device, which the runtime counts as a character device, is not).
bool IsTypedConsole(int descriptor);

// Puts the null device on each of standard input, output and error that the program was started
// without (`<&-`, `>&-`), before the program opens anything: a file opened later would otherwise
// take the free number and be read as the console or written with the terminal's lines. On
// Windows standard input is also taken as missing when a read of nothing from it fails (Wine
// hands a program started without standard input its current directory there). A closed
// standard input then reads as an empty one, which is the end of input.
void AttachNullToClosedStandardStreams();

class ConsoleInput {
 public:
  // Called on the io_context's thread with the bytes read (none when `error` is set;
  // asio::error::eof at the end of the input).
  using ChunkHandler = std::function<void(std::string_view bytes, std::error_code error)>;

  // Reads `descriptor`, which stays open afterwards (it is not the input's). `io` must outlive
  // this object.
  ConsoleInput(asio::io_context& io, int descriptor);
  ~ConsoleInput();
  ConsoleInput(const ConsoleInput&) = delete;
  ConsoleInput& operator=(const ConsoleInput&) = delete;

  // Asks for the next chunk; one request at a time. After destruction no handler is called.
  void Read(ChunkHandler onChunk);

 private:
  struct State;
  std::shared_ptr<State> state_;
};

}  // namespace Sandbox
