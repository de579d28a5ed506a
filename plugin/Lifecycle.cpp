#include "plugin/Lifecycle.h"

#include "plugin/Config.h"
#include "plugin/Containment.h"
#include "plugin/Log.h"
#include "plugin/MissionMatch.h"
#include "plugin/MissionStart.h"
#include "plugin/ReloadCommands.h"
#include "plugin/StatusCommand.h"

namespace {

// The path is looked up again for the message; when even that fails, the message goes without it.
void LogFailedRead(const char* reason) {
  try {
    PluginLog()->critical(
        "Failed to load config from {}! \n {}\n No mission is disabled until \"qv.reload\" "
        "succeeds.",
        ConfigPath(), reason);
  } catch (...) {
    PluginLog()->critical(
        "Failed to load config! \n {}\n No mission is disabled until \"qv.reload\" succeeds.",
        reason);
  }
}

// True when the configuration was read.
bool ReadConfigAtLoad() noexcept {
  return Contain(ReadConfig, [](const char* reason) { LogFailedRead(OrUnknown(reason)); });
}

// The operator's confirmation that the plugin has its configuration. A reload answers its caller
// instead, so only the load logs it.
void LogConfigInForce() {
  const std::size_t entries = CountEntriesInForce(PluginConfig);
  PluginLog()->info("Loaded config from {}: {} {} of \"DisabledMissions\" in force", ConfigPath(),
                    entries, entries == 1 ? "entry" : "entries");
}

void LogStepFailure(const char* step, const char* reason) noexcept {
  try {
    if (PluginLog()) PluginLog()->critical("{} failed: {}", step, reason);
  } catch (...) {  // GCOVR_EXCL_LINE the logger handles its own errors: kept for the noexcept edge
  }
}

// Runs one step of the load or unload sequence. Nothing thrown may leave the library's entry
// point (the system would end the server process), and a failed step must not leave the later
// ones undone: a command left registered at unload would call into a library that is gone.
template <typename Step>
bool Attempt(const char* what, Step&& step) noexcept {
  return Contain(step, [what](const char* reason) { LogStepFailure(what, OrUnknown(reason)); });
}

}  // namespace

void PluginLoad() noexcept {
  // Without its logger the plugin places nothing that would write to it.
  if (!Attempt("Creating the log", CreatePluginLogger)) return;
  if (ReadConfigAtLoad()) Attempt("Confirming the config in force", LogConfigInForce);
  Attempt("Installing the mission start hook", InstallMissionStartHook);
  Attempt("Registering the console command", RegisterConsoleReloadCommand);
  Attempt("Registering the RCON command", RegisterRconReloadCommand);
  Attempt("Registering the console status command", RegisterConsoleStatusCommand);
  Attempt("Registering the RCON status command", RegisterRconStatusCommand);
}

// A hook or handler left with the host after the library is gone takes the server down at its
// next use or when the host lets go of it, so a removal that fails is tried once more.
template <typename Step>
void AttemptTwice(const char* what, Step&& step) noexcept {
  if (!Attempt(what, step)) Attempt(what, step);
}

void PluginUnload() noexcept {
  AttemptTwice("Removing the mission start hook", RemoveMissionStartHook);
  AttemptTwice("Removing the console command", RemoveConsoleReloadCommand);
  AttemptTwice("Removing the RCON command", RemoveRconReloadCommand);
  AttemptTwice("Removing the console status command", RemoveConsoleStatusCommand);
  AttemptTwice("Removing the RCON status command", RemoveRconStatusCommand);
}
