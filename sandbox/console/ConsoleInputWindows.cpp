#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <condition_variable>
#include <iterator>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "sandbox/console/ConsoleInput.h"

// After Asio, which brings the socket headers Windows wants before it.
#include <windows.h>

namespace Sandbox {

namespace {

// The console input behind `descriptor`, or null when it is something else (a file, a pipe, the
// NUL device).
HANDLE ConsoleOf(int descriptor) {
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(descriptor));
  DWORD mode = 0;
  return GetConsoleMode(handle, &mode) != 0 ? handle : nullptr;
}

bool IsOpen(HANDLE handle) {
  return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

// Whether standard input's `handle` can be read: a console or other character device (NUL), a
// pipe, or a file that a read of nothing succeeds on. A program started without standard input
// has no handle; under Wine it has instead the current directory, which Wine opened in the free
// descriptor's place and which every read refuses.
bool IsReadableInput(HANDLE handle) {
  if (!IsOpen(handle)) return false;
  // A read of nothing from a pipe or a console would wait for input.
  if (GetFileType(handle) != FILE_TYPE_DISK) return true;
  char none = 0;
  DWORD read = 0;
  return ReadFile(handle, &none, 0, &read, nullptr) != 0;
}

}  // namespace

bool IsTypedConsole(int descriptor) {
  return ConsoleOf(descriptor) != nullptr;
}

void AttachNullToClosedStandardStreams() {
  const struct {
    DWORD Handle;
    int Descriptor;
    int Mode;
  } streams[] = {{STD_INPUT_HANDLE, 0, _O_RDONLY},
                 {STD_OUTPUT_HANDLE, 1, _O_WRONLY},
                 {STD_ERROR_HANDLE, 2, _O_WRONLY}};
  for (const auto& stream : streams) {
    const HANDLE handle = GetStdHandle(stream.Handle);
    if (stream.Descriptor == 0 ? IsReadableInput(handle) : IsOpen(handle)) continue;
    const int opened = _open("NUL", stream.Mode);
    if (opened < 0) continue;
    if (opened != stream.Descriptor) {
      _dup2(opened, stream.Descriptor);
      _close(opened);
    }
    SetStdHandle(stream.Handle, reinterpret_cast<HANDLE>(_get_osfhandle(stream.Descriptor)));
  }
}

// Shared by the reading thread and the io_context's thread. The reading thread reads only when
// asked, so nothing is read ahead of the console lines the server has taken.
struct ConsoleInput::State : std::enable_shared_from_this<ConsoleInput::State> {
  State(asio::io_context& io, int descriptor)
      : Io(io), Descriptor(descriptor), Console(ConsoleOf(descriptor)) {}

  void ReadWhenAsked();
  // One read of the input into `bytes`; an error, asio::error::eof at its end.
  std::error_code ReadTyped(std::string& bytes) const;
  std::error_code ReadBytes(std::string& bytes) const;

  asio::io_context& Io;
  const int Descriptor;
  const HANDLE Console;  // the console `Descriptor` reads, or null for any other input
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

// A typed line, as UTF-8 text: the console hands over UTF-16, whereas a byte read would give it in
// the console's input code page. Ctrl-Z at the start of a line ends the input, as it does for a
// byte read.
std::error_code ConsoleInput::State::ReadTyped(std::string& bytes) const {
  wchar_t typed[2048];
  DWORD count = 0;
  if (ReadConsoleW(Console, typed, static_cast<DWORD>(std::size(typed)), &count, nullptr) == 0) {
    return std::error_code(static_cast<int>(GetLastError()), std::system_category());
  }
  if (count == 0 || typed[0] == L'\x1a') return asio::error::eof;
  const int wide = static_cast<int>(count);
  const int size = WideCharToMultiByte(CP_UTF8, 0, typed, wide, nullptr, 0, nullptr, nullptr);
  bytes.resize(static_cast<std::size_t>(size));
  WideCharToMultiByte(CP_UTF8, 0, typed, wide, bytes.data(), size, nullptr, nullptr);
  return {};
}

std::error_code ConsoleInput::State::ReadBytes(std::string& bytes) const {
  char chunk[4096];
  const int length = _read(Descriptor, chunk, sizeof chunk);
  if (length == 0) return asio::error::eof;
  if (length < 0) return std::error_code(errno, std::generic_category());
  bytes.assign(chunk, static_cast<std::size_t>(length));
  return {};
}

void ConsoleInput::State::ReadWhenAsked() {
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(Mutex);
      Wake.wait(lock, [this] { return Asked || Closing; });
      if (Closing) return;
      Asked = false;
      Reading = true;
    }
    std::string bytes;
    const std::error_code error = Console ? ReadTyped(bytes) : ReadBytes(bytes);

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
