#include "sandbox/ProgramFiles.h"

#include <system_error>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#endif

#include "host-bridge/Platform.h"

namespace fs = std::filesystem;

namespace Sandbox {

fs::path ProgramDirectory() {
#if defined(_WIN32)
  // The buffer grows until the whole name fits: a server may live in a deep directory.
  std::vector<wchar_t> name(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) {
      throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                              "the program's own path");
    }
    if (length < name.size()) return fs::path(std::wstring(name.data(), length)).parent_path();
    name.resize(name.size() * 2);
  }
#else
  return fs::read_symlink("/proc/self/exe").parent_path();
#endif
}

std::string ShownPath(const fs::path& path) {
  std::error_code unknown;
  const fs::path full = fs::absolute(path, unknown).lexically_normal();
  const fs::path here = fs::current_path(unknown);
  const fs::path inside = full.lexically_relative(here);
  if (full.empty() || here.empty() || inside.empty() || *inside.begin() == "..") {
    return Platform::NativeSeparators((full.empty() ? path : full).u8string());
  }
  return Platform::NativeSeparators(inside.u8string());
}

std::string ExistingFile(const std::string& path) {
  std::error_code unknown;
  const fs::file_status status = fs::status(fs::u8path(path), unknown);
  if (!fs::exists(status)) return "File does not exist: " + path;
  if (fs::is_directory(status)) return "File is actually a directory: " + path;
  return "";
}

}  // namespace Sandbox
