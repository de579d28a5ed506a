#include "plugin/Lifecycle.h"

#include <exception>

#include "plugin/Config.h"
#include "plugin/Log.h"
#include "plugin/MissionMatch.h"
#include "plugin/MissionStart.h"
#include "plugin/ReloadCommands.h"

namespace {

// The operator's confirmation that the plugin has its configuration. A reload answers its caller
// instead, so only the load logs it.
void ReadConfigAtLoad() {
  try {
    ReadConfig();
    const std::size_t entries = CountEntriesInForce(PluginConfig);
    PluginLog()->info("Loaded config from {}: {} {} of \"DisabledMissions\" in force", ConfigPath(),
                      entries, entries == 1 ? "entry" : "entries");
  } catch (const std::exception& error) {
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
