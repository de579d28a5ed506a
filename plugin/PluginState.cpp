#include "plugin/PluginState.h"

ConfigReads& ConfigReadRecord() {
  static ConfigReads reads;
  return reads;
}
