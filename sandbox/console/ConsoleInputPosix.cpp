#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "sandbox/console/ConsoleInput.h"

namespace Sandbox {

bool IsTypedConsole(int descriptor) {
  return isatty(descriptor) != 0;
}

void AttachNullToClosedStandardStreams() {
  for (const int descriptor : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    if (fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) continue;
    // The lowest free number, which is this one: the ones below it are open by now.
    const int opened = open("/dev/null", descriptor == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    if (opened > descriptor) {
      dup2(opened, descriptor);
      close(opened);
    }
  }
}

struct ConsoleInput::State {
  State(asio::io_context& io, int descriptor)
      : Stream(io, descriptor), OriginalFlags(fcntl(descriptor, F_GETFL)) {}

  asio::posix::stream_descriptor Stream;
  int OriginalFlags;
  std::array<char, 4096> Chunk;
};

ConsoleInput::ConsoleInput(asio::io_context& io, int descriptor)
    : state_(std::make_shared<State>(io, descriptor)) {}

// The descriptor's open file may be shared with the shell (a terminal): it is handed back in the
// blocking mode it came in.
ConsoleInput::~ConsoleInput() {
  const int descriptor = state_->Stream.release();
  if (state_->OriginalFlags != -1) fcntl(descriptor, F_SETFL, state_->OriginalFlags);
}

void ConsoleInput::Read(ChunkHandler onChunk) {
  state_->Stream.async_read_some(
      asio::buffer(state_->Chunk),
      [state = state_, onChunk = std::move(onChunk)](std::error_code error, std::size_t length) {
        if (error == asio::error::operation_aborted) return;
        onChunk(std::string_view(state->Chunk.data(), length), error);
      });
}

}  // namespace Sandbox
