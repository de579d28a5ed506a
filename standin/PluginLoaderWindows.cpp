#include <windows.h>

#include <stdexcept>

#include "standin/PluginLoader.h"

namespace StandIn {
namespace {

std::wstring Widen(const std::string& utf8) {
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
  return wide;
}

std::string SystemMessage(DWORD error) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = length != 0 ? std::string(text, length) : "error " + std::to_string(error);
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
    message.pop_back();
  }
  return message;
}

}  // namespace

// The Windows loader itself delivers process attach inside LoadLibrary and process detach inside
// FreeLibrary or at process end.
std::unique_ptr<PluginLibrary> PluginLibrary::Load(const std::string& path) {
  HMODULE module = LoadLibraryW(Widen(path).c_str());
  if (module == nullptr) {
    throw std::runtime_error("cannot load plugin " + path + ": " + SystemMessage(GetLastError()));
  }
  return std::unique_ptr<PluginLibrary>(new PluginLibrary(path, module));
}

PluginLibrary::~PluginLibrary() {
  FreeLibrary(static_cast<HMODULE>(handle_));
}

void* PluginLibrary::Symbol(const std::string& name) const {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name.c_str()));
}

}  // namespace StandIn
