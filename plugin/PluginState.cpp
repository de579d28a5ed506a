#include "plugin/PluginState.h"

#include <atomic>
#include <type_traits>

namespace {

// Constant-initialised and never destroyed, so that it still answers after the library's static
// objects are gone.
std::atomic<bool> pluginActive{false};
static_assert(std::is_trivially_destructible_v<std::atomic<bool>>);

}  // namespace

ConfigReads& ConfigReadRecord() {
  static ConfigReads reads;
  return reads;
}

PlacedWithHost& PlacedAtLoad() {
  static PlacedWithHost placed;
  return placed;
}

bool PluginActive() noexcept {
  return pluginActive;
}

void SetPluginActive(bool active) noexcept {
  pluginActive = active;
}
