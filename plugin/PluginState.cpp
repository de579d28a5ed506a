#include "plugin/PluginState.h"

ConfigReads& ConfigReadRecord() {
  static ConfigReads reads;
  return reads;
}

PlacedWithHost& PlacedAtLoad() {
  static PlacedWithHost placed;
  return placed;
}
