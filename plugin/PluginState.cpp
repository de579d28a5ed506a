#include "plugin/PluginState.h"

ConfigReads& ConfigReadRecord() {
  static ConfigReads reads;
  return reads;
}

bool& StartHookPlaced() {
  static bool placed = false;
  return placed;
}
