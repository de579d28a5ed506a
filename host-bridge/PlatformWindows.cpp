// The platform layer of the Windows build: wchar_t is the engine's 16-bit character, and the C
// runtime supplies case folding, comparison, search and time in the process's current locale.
#include <string.h>
#include <time.h>
#include <wchar.h>
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <fstream>

#include <fmt/xchar.h>

#include "host-bridge/Platform.h"

namespace Platform {

WideChar ToUpper(WideChar c) {
  return static_cast<WideChar>(towupper(c));
}

int CompareNoCase(const WideChar* a, const WideChar* b, std::size_t count) {
  return _wcsnicmp(a, b, count);
}

const WideChar* FindText(const WideChar* text, const WideChar* pattern) {
  return wcsstr(text, pattern);
}

std::size_t TextLength(const WideChar* text) {
  return wcslen(text);
}

int64_t CurrentTime64() {
  return static_cast<int64_t>(_time64(nullptr));
}

WideString FormatWide(const WideString& pattern) {
  return fmt::vformat(fmt::wstring_view(pattern.data(), pattern.size()), fmt::wformat_args{});
}

bool KeepThisLibraryLoaded() {
  HMODULE library = nullptr;
  return GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                            reinterpret_cast<LPCWSTR>(&KeepThisLibraryLoaded), &library) != 0;
}

std::wstring WideFromUtf8(const std::string& text) {
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                         static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(std::max(length, 0)), L'\0');
  if (length > 0) {
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                        wide.data(), length);
  }
  return wide;
}

std::string Utf8FromWide(const wchar_t* text) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(std::max(length, 1)), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow.data(), length, nullptr, nullptr);
  narrow.pop_back();  // the terminator the conversion wrote
  return narrow;
}

void OpenForReading(std::ifstream& file, const std::string& path, std::ios_base::openmode mode) {
  file.open(path, mode);
  const bool ascii = std::all_of(path.begin(), path.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (file.is_open() || ascii) return;
  const std::wstring wide = WideFromUtf8(path);
  if (!wide.empty()) file.open(std::filesystem::path(wide), mode);
}

Utf8Arguments::Utf8Arguments(int argc, wchar_t** argv) {
  for (int i = 0; i < argc; ++i) texts_.push_back(Utf8FromWide(argv[i]));
  for (std::string& text : texts_) pointers_.push_back(text.data());
  pointers_.push_back(nullptr);  // argv[argc], as main's
}

}  // namespace Platform
