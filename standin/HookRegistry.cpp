#include "standin/HookRegistry.h"

#include <algorithm>
#include <map>
#include <mutex>

#include "standin/CallText.h"
#include "standin/Faults.h"
#include "standin/FunctionTable.h"

namespace StandIn::Hooks {
namespace {

struct Detour {
  void* Entry;
  void** Original;  // where the detour keeps the entry it calls on to
};

// Detours form a chain per function: each calls on to the one installed before it, the first
// to the game's own function.
class HookRegistry final : public HostApi::IHooks {
 public:
  bool RemoveHook(const std::string& key, void* detour) override {
    CallText::Record("IHooks.RemoveHook", key.c_str());
    Faults::HostCall("IHooks.RemoveHook");
    std::lock_guard<std::mutex> guard(lock_);
    auto chain = chains_.find(key);
    if (chain == chains_.end()) return false;
    std::vector<Detour>& detours = chain->second;
    auto found = std::find_if(detours.begin(), detours.end(),
                              [detour](const Detour& d) { return d.Entry == detour; });
    if (found == detours.end()) return false;
    // The detour installed after this one now calls on to what this one called on to.
    if (found + 1 != detours.end()) *(found + 1)->Original = *found->Original;
    detours.erase(found);
    if (detours.empty()) chains_.erase(chain);
    return true;
  }

  bool InstallHook(const std::string& key, void* detour, void** original) override {
    CallText::Record("IHooks.InstallHook", key.c_str());
    Faults::HostCall("IHooks.InstallHook");
    if (detour == nullptr || original == nullptr || !FunctionTable::HasFunction(key)) return false;
    std::lock_guard<std::mutex> guard(lock_);
    if (refuseInstalls_) return false;
    std::vector<Detour>& detours = chains_[key];
    *original = detours.empty() ? FunctionTable::Function(key) : detours.back().Entry;
    detours.push_back({detour, original});
    return true;
  }

  void* Entry(const std::string& key) {
    {
      std::lock_guard<std::mutex> guard(lock_);
      auto chain = chains_.find(key);
      if (chain != chains_.end()) return chain->second.back().Entry;
    }
    return FunctionTable::Function(key);
  }

  std::vector<void*> Detours(const std::string& key) {
    std::lock_guard<std::mutex> guard(lock_);
    std::vector<void*> entries;
    auto chain = chains_.find(key);
    if (chain != chains_.end()) {
      for (const Detour& d : chain->second) entries.push_back(d.Entry);
    }
    return entries;
  }

  void RefuseInstalls() {
    std::lock_guard<std::mutex> guard(lock_);
    refuseInstalls_ = true;
  }

  void Clear() {
    std::lock_guard<std::mutex> guard(lock_);
    chains_.clear();
    refuseInstalls_ = false;
  }

 private:
  std::mutex lock_;
  bool refuseInstalls_ = false;
  std::map<std::string, std::vector<Detour>> chains_;
};

HookRegistry& TheRegistry() {
  static HookRegistry registry;
  return registry;
}

}  // namespace

HostApi::IHooks& Registry() {
  return TheRegistry();
}
void* Entry(const std::string& key) {
  return TheRegistry().Entry(key);
}
std::vector<void*> Detours(const std::string& key) {
  return TheRegistry().Detours(key);
}
void RefuseInstalls() {
  TheRegistry().RefuseInstalls();
}
void Clear() {
  TheRegistry().Clear();
}

}  // namespace StandIn::Hooks
