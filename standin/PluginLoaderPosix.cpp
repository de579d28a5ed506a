#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "standin/PluginLoader.h"

namespace StandIn {
namespace {

// The entry point as plugins export it; reason 1 is process attach, 0 process detach. A
// non-null `reserved` at detach means the process is ending.
using EntryPoint = int (*)(void* module, unsigned long reason, void* reserved);
constexpr unsigned long kProcessDetach = 0;
constexpr unsigned long kProcessAttach = 1;

EntryPoint EntryOf(void* handle) {
  return reinterpret_cast<EntryPoint>(dlsym(handle, "DllMain"));
}

// Libraries still loaded, in load order: they get process detach at process end.
std::mutex loadedLock;
std::vector<void*>& Loaded() {
  static auto* loaded = new std::vector<void*>;  // needed after static destruction has begun
  return *loaded;
}

void DetachAtProcessEnd() {
  std::vector<void*> remaining;
  {
    std::lock_guard<std::mutex> guard(loadedLock);
    remaining.swap(Loaded());
  }
  static int processEnding;
  for (auto library = remaining.rbegin(); library != remaining.rend(); ++library) {
    EntryOf (*library)(*library, kProcessDetach, &processEnding);
  }
}

}  // namespace

std::unique_ptr<PluginLibrary> PluginLibrary::Load(const std::string& path) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    throw std::runtime_error("cannot load plugin " + path + ": " + dlerror());
  }
  EntryPoint entry = EntryOf(handle);
  if (entry == nullptr) {
    dlclose(handle);
    throw std::runtime_error("plugin " + path + " has no entry point DllMain");
  }
  entry(handle, kProcessAttach, nullptr);
  {
    std::lock_guard<std::mutex> guard(loadedLock);
    Loaded().push_back(handle);
  }
  // Registered after the library's static objects (and those its attach created), so it runs
  // before the runtime destroys them at exit.
  std::atexit(DetachAtProcessEnd);
  return std::unique_ptr<PluginLibrary>(new PluginLibrary(path, handle));
}

PluginLibrary::~PluginLibrary() {
  bool stillLoaded = false;
  {
    std::lock_guard<std::mutex> guard(loadedLock);
    auto& loaded = Loaded();
    auto found = std::find(loaded.begin(), loaded.end(), handle_);
    if (found != loaded.end()) {
      loaded.erase(found);
      stillLoaded = true;
    }
  }
  if (stillLoaded) EntryOf(handle_)(handle_, kProcessDetach, nullptr);
  dlclose(handle_);
}

void* PluginLibrary::Symbol(const std::string& name) const {
  return dlsym(handle_, name.c_str());
}

}  // namespace StandIn
