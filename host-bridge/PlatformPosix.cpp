// The platform layer of the Linux build, over char16_t text. The Windows build gets the same
// operations from the C runtime; this file and the inline part of Platform.h reproduce what that
// runtime does in the "C" locale, the locale of a process that never calls setlocale, so both
// builds fold and compare alike whatever locale the Linux machine happens to have.
#include <dlfcn.h>

#include <ctime>
#include <fstream>

#include <fmt/xchar.h>

#include "host-bridge/Platform.h"

namespace Platform {

const WideChar* FindText(const WideChar* text, const WideChar* pattern) {
  for (;; ++text) {
    std::size_t i = 0;
    while (pattern[i] != 0 && text[i] == pattern[i]) {
      ++i;
    }
    if (pattern[i] == 0) {
      return text;
    }
    if (*text == 0) {
      return nullptr;
    }
  }
}

int64_t CurrentTime64() {
  return static_cast<int64_t>(std::time(nullptr));
}

WideString FormatWide(const WideString& pattern) {
  return fmt::vformat(fmt::basic_string_view<WideChar>(pattern.data(), pattern.size()),
                      fmt::basic_format_args<fmt::buffer_context<WideChar>>{});
}

bool KeepThisLibraryLoaded() {
  Dl_info library;
  if (dladdr(reinterpret_cast<void*>(&KeepThisLibraryLoaded), &library) == 0 ||
      library.dli_fname == nullptr) {  // GCOVR_EXCL_START: it is in one
    return false;
  }  // GCOVR_EXCL_STOP
  // NOLOAD finds the library already mapped rather than mapping the file again; NODELETE stops
  // every later dlclose of it from unmapping it. The reference taken is never given back.
  return dlopen(library.dli_fname, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE) != nullptr;
}

void OpenForReading(std::ifstream& file, const std::string& path, std::ios_base::openmode mode) {
  // A Linux path is bytes: UTF-8 names need nothing more.
  file.open(path, mode);
}

}  // namespace Platform
