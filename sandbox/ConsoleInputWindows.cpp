#include <io.h>

#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "sandbox/ConsoleInput.h"

// After Asio, which brings the socket headers Windows wants before it.
#include <windows.h>

namespace Sandbox {

bool IsTypedConsole(int descriptor) {
  DWORD mode = 0;
  return GetConsoleMode(reinterpret_cast<HANDLE>(_get_osfhandle(descriptor)), &mode) != 0;
}

// Shared by the reading thread and the io_context's thread. The reading thread reads only when
// asked, so nothing is read ahead of the console lines the server has taken.
struct ConsoleInput::State : std::enable_shared_from_this<ConsoleInput::State> {
  State(asio::io_context& io, int descriptor) : Io(io), Descriptor(descriptor) {}

  void ReadWhenAsked();

  asio::io_context& Io;
  const int Descriptor;
  std::mutex Mutex;
  std::condition_variable Wake;
  bool Asked = false;    // a chunk was asked for and not yet read
  bool Reading = false;  // the thread is inside a read that may block
  bool Closing = false;  // the input is gone: nothing more is read or delivered
  ChunkHandler OnChunk;  // used on the io_context's thread only
  // Keeps the io_context running while a chunk is asked for, as a pending read would.
  std::optional<asio::executor_work_guard<asio::io_context::executor_type>> Pending;
  std::thread Thread;
};

void ConsoleInput::State::ReadWhenAsked() {
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(Mutex);
      Wake.wait(lock, [this] { return Asked || Closing; });
      if (Closing) return;
      Asked = false;
      Reading = true;
    }
    char chunk[4096];
    const int length = _read(Descriptor, chunk, sizeof chunk);
    std::error_code error;
    if (length == 0) error = asio::error::eof;
    if (length < 0) error = std::error_code(errno, std::generic_category());
    std::string bytes(chunk, length > 0 ? static_cast<std::size_t>(length) : 0);

    // Posted under the lock while not closing: the io_context then still exists.
    std::lock_guard<std::mutex> lock(Mutex);
    Reading = false;
    if (Closing) return;
    asio::post(Io, [self = shared_from_this(), bytes = std::move(bytes), error] {
      if (self->Closing) return;
      // Taken out first: the handler may ask for the next chunk, which sets a new one.
      const ChunkHandler onChunk = std::move(self->OnChunk);
      self->Pending.reset();
      onChunk(bytes, error);
    });
  }
}

ConsoleInput::ConsoleInput(asio::io_context& io, int descriptor)
    : state_(std::make_shared<State>(io, descriptor)) {
  state_->Thread = std::thread([state = state_] { state->ReadWhenAsked(); });
}

// A thread blocked reading the console cannot be woken: it is left to end with the process, and
// it neither reads again nor delivers anything. It keeps the shared state alive meanwhile.
ConsoleInput::~ConsoleInput() {
  bool blocked;
  {
    std::lock_guard<std::mutex> lock(state_->Mutex);
    state_->Closing = true;
    blocked = state_->Reading;
  }
  state_->Pending.reset();
  state_->Wake.notify_all();
  if (blocked) {
    state_->Thread.detach();
  } else {
    state_->Thread.join();
  }
}

void ConsoleInput::Read(ChunkHandler onChunk) {
  {
    std::lock_guard<std::mutex> lock(state_->Mutex);
    state_->OnChunk = std::move(onChunk);
    state_->Pending.emplace(state_->Io.get_executor());
    state_->Asked = true;
  }
  state_->Wake.notify_all();
}

}  // namespace Sandbox
