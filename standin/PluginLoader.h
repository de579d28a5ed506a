// Loads a plugin library into the process and delivers its entry point's notifications as the
// system loader does: process attach once the library's static objects exist, process detach
// before they are destroyed, at unload and, for a library still loaded, at process end.
// On Windows the system loader itself delivers them (LoadLibrary/FreeLibrary); on Linux this
// loader calls the library's exported DllMain around dlopen/dlclose.
#pragma once

#include <memory>
#include <string>

namespace StandIn {

class PluginLibrary {
 public:
  // Loads the library at `path` and delivers process attach; throws std::runtime_error naming
  // the path and the system's reason when it cannot be loaded or has no entry point.
  static std::unique_ptr<PluginLibrary> Load(const std::string& path);
  // Delivers process detach, then unloads the library.
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  // The exported symbol `name` (a mangled C++ name for C++ functions), or null.
  void* Symbol(const std::string& name) const;
  const std::string& Path() const { return path_; }

 private:
  PluginLibrary(std::string path, void* handle) : path_(std::move(path)), handle_(handle) {}

  std::string path_;
  void* handle_;
};

}  // namespace StandIn
