// The library entry point: the system's notifications as the host loads and unloads the plugin.
#include "host-bridge/Platform.h"
#include "plugin/Lifecycle.h"

namespace {

constexpr unsigned long kProcessDetach = 0;
constexpr unsigned long kProcessAttach = 1;

}  // namespace

QV_ENTRY_POINT DllMain(void* /*module*/, unsigned long reason, void* /*reserved*/) {
  // Thread attach (2) and thread detach (3) need nothing; detach runs the same at unload and at
  // process end.
  if (reason == kProcessAttach) PluginLoad();
  if (reason == kProcessDetach) PluginUnload();
  return 1;
}
