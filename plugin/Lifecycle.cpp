#include "plugin/Lifecycle.h"

#include <cstddef>
#include <iterator>
#include <optional>
#include <string>

#include "host-bridge/Platform.h"
#include "plugin/Config.h"
#include "plugin/ConfigSummary.h"
#include "plugin/Containment.h"
#include "plugin/Log.h"
#include "plugin/LogText.h"
#include "plugin/MissionStart.h"
#include "plugin/PluginState.h"
#include "plugin/ReloadCommands.h"
#include "plugin/StatusCommand.h"
#include "plugin/Version.h"
#include "rules/MissionMatch.h"

namespace {

// What a refusal of the host's means for the operator, by the call refused.
const char* const kHookRefused =
    "the host refused it; no mission start is checked until QuestVeto is loaded again";
const char* const kHookNotHeld =
    "the host no longer held it, so no mission start reaches QuestVeto after the unload";
const char* const kCommandNotHeld =
    "the host held no such command, so none is left to call QuestVeto after the unload";

// Names the file the read tried; when the read could not find out its path, the message goes
// without it.
void LogFailedRead(const std::string& reason) {
  const std::string why = EscapeForLog(reason);
  if (LastConfigPath().empty()) {
    PluginLog()->critical(
        "Failed to load config! \n {}\n No mission is disabled until \"qv.reload\" succeeds.", why);
  } else {
    PluginLog()->critical(
        "Failed to load config from {}! \n {}\n No mission is disabled until \"qv.reload\" "
        "succeeds.",
        EscapeForLog(LastConfigPath()), why);
  }
  WarnOfConfigNearMisses();
}

// True when the configuration was read.
bool ReadConfigAtLoad() noexcept {
  std::optional<std::string> failure;
  Contain([&] { failure = ReadConfig(); },
          [&](const char* reason) { failure = OrUnknown(reason); });
  if (failure) LogFailedRead(*failure);
  return !failure;
}

// The operator's confirmation that the plugin has its configuration, and which plugin it is, when
// the configuration asks for it. A reload logs its own line, with what it changed.
void LogConfigInForce() {
  if (!ShowConfigSummary()) return;
  PluginLog()->info("Loaded config from {}: {} (QuestVeto {})", EscapeForLog(LastConfigPath()),
                    EntriesInForceText(CountEntriesInForce(PluginConfig)), kPluginVersion);
}

void LogStepFailure(const char* step, const char* reason) noexcept {
  try {
    if (PluginLog()) PluginLog()->critical("{} failed: {}", step, EscapeForLog(reason));
  } catch (...) {  // GCOVR_EXCL_LINE the logger handles its own errors: kept for the noexcept edge
  }
}

// Runs one step of the load or unload sequence; true when it ran through. Nothing thrown may
// leave the library's entry point (the system would end the server process), and a failed step
// must not leave the later ones undone: a command left registered at unload would call into a
// library that is gone.
template <typename Step>
bool Attempt(const char* what, Step&& step) noexcept {
  return Contain(step, [what](const char* reason) { LogStepFailure(what, OrUnknown(reason)); });
}

enum class HostAnswer { Accepted, Refused, Failed };

// Attempt of a registry call that the host answers: a refusal (false) is logged as the step's
// failure with `refusal`, what it means, unless that is null. A refusal is an answer, not a
// failure to ask again.
template <typename Call>
HostAnswer AttemptAnswered(const char* what, Call&& call, const char* refusal) noexcept {
  bool accepted = false;
  if (!Attempt(what, [&] { accepted = call(); })) return HostAnswer::Failed;
  if (accepted) return HostAnswer::Accepted;
  if (refusal != nullptr) LogStepFailure(what, refusal);
  return HostAnswer::Refused;
}

// A hook or handler left with the host after the library is gone takes the server down at its
// next use or when the host lets go of it, so a removal that fails is tried once more. Its
// refusal is logged with `refusal` when the load had placed it; that of something never placed
// is as expected. True when both tries failed: the host may still hold it.
template <typename Call>
bool RemoveTwice(const char* what, Call&& call, bool placed, const char* refusal) noexcept {
  const char* const blame = placed ? refusal : nullptr;
  return AttemptAnswered(what, call, blame) == HostAnswer::Failed &&
         AttemptAnswered(what, call, blame) == HostAnswer::Failed;
}

// One removal of the unload: its step as logged, what the host keeps when both tries fail, the
// call, whether the load placed it, and what the host's refusal means.
struct Removal {
  const char* step;
  const char* kept;
  bool (*call)();
  bool PlacedWithHost::*placed;
  const char* refusal;
};

const Removal kRemovals[] = {
    {"Removing the mission start hook", "the mission start hook", RemoveMissionStartHook,
     &PlacedWithHost::MissionStartHook, kHookNotHeld},
    {"Removing the console command", "the console command qv.reload", RemoveConsoleReloadCommand,
     &PlacedWithHost::ConsoleCommand, kCommandNotHeld},
    {"Removing the RCON command", "the RCON command qv.reload", RemoveRconReloadCommand,
     &PlacedWithHost::RconCommand, kCommandNotHeld},
    {"Removing the console status command", "the console command qv.status",
     RemoveConsoleStatusCommand, &PlacedWithHost::ConsoleStatusCommand, kCommandNotHeld},
    {"Removing the RCON status command", "the RCON command qv.status", RemoveRconStatusCommand,
     &PlacedWithHost::RconStatusCommand, kCommandNotHeld},
};

constexpr std::size_t kRemovalCount = std::size(kRemovals);

// The library held in place for what the host kept (`kept`, by removal), and the operator told.
// Without the library the host's next call of what it kept, or its dropping of it, would run code
// that is gone.
void KeepLoadedFor(const bool (&kept)[kRemovalCount]) noexcept {
  const bool keptLoaded = Platform::KeepThisLibraryLoaded();
  Attempt("Keeping QuestVeto loaded", [&] {
    std::string what;
    for (std::size_t i = 0; i < kRemovalCount; ++i) {
      if (kept[i]) what += (what.empty() ? "" : ", ") + std::string(kRemovals[i].kept);
    }
    if (keptLoaded) {
      PluginLog()->critical(
          "The host kept {} after the unload; QuestVeto's library stays loaded until the server "
          "stops, and what the host kept does nothing (mission starts go on to the game)",
          what);
    } else {  // GCOVR_EXCL_START a loaded library is always kept
      PluginLog()->critical(
          "The host kept {} after the unload, and QuestVeto's library could not be kept loaded: "
          "the server may crash when it calls or drops them",
          what);
    }  // GCOVR_EXCL_STOP
  });
}

}  // namespace

void PluginLoad() noexcept {
  SetPluginActive(true);
  // Without its logger the plugin places nothing that would write to it.
  if (!Attempt("Creating the log", CreatePluginLogger)) return;
  if (ReadConfigAtLoad()) Attempt("Confirming the config in force", LogConfigInForce);
  PlacedAtLoad().MissionStartHook =
      AttemptAnswered("Installing the mission start hook", InstallMissionStartHook, kHookRefused) ==
      HostAnswer::Accepted;
  PlacedAtLoad().ConsoleCommand =
      Attempt("Registering the console command", RegisterConsoleReloadCommand);
  PlacedAtLoad().RconCommand = Attempt("Registering the RCON command", RegisterRconReloadCommand);
  PlacedAtLoad().ConsoleStatusCommand =
      Attempt("Registering the console status command", RegisterConsoleStatusCommand);
  PlacedAtLoad().RconStatusCommand =
      Attempt("Registering the RCON status command", RegisterRconStatusCommand);
}

void PluginUnload() noexcept {
  SetPluginActive(false);
  const PlacedWithHost& placed = PlacedAtLoad();
  bool kept[kRemovalCount] = {};
  bool anyKept = false;
  for (std::size_t i = 0; i < kRemovalCount; ++i) {
    const Removal& removal = kRemovals[i];
    kept[i] = RemoveTwice(removal.step, removal.call, placed.*removal.placed, removal.refusal);
    anyKept = anyKept || kept[i];
  }
  if (anyKept) KeepLoadedFor(kept);
}
