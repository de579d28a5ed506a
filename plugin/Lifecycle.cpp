#include "plugin/Lifecycle.h"

#include <exception>

#include "plugin/Config.h"
#include "plugin/Log.h"
#include "plugin/MissionStart.h"
#include "plugin/ReloadCommands.h"

namespace {

void ReadConfigAtLoad() {
  try {
    ReadConfig();
  } catch (const std::exception& error) {  // GCOVR_EXCL_BR_LINE nothing else is thrown here
    PluginLog()->critical(
        "Failed to load config from {}! \n {}\n No mission is disabled until \"qv.reload\" "
        "succeeds.",
        ConfigPath(), error.what());
  }
}

}  // namespace

void PluginLoad() {
  CreatePluginLogger();
  ReadConfigAtLoad();
  InstallMissionStartHook();
  RegisterReloadCommands();
}

void PluginUnload() {
  RemoveMissionStartHook();
  RemoveReloadCommands();
}
