#include "plugin/MissionStart.h"

#include <string>

#include <fmt/format.h>

#include "host-bridge/GameCalls.h"
#include "host-bridge/HostApi.h"
#include "plugin/Config.h"
#include "plugin/Containment.h"
#include "plugin/Log.h"
#include "plugin/LogText.h"
#include "plugin/PluginState.h"
#include "rules/ConfigKeys.h"
#include "rules/MissionMatch.h"
#include "rules/Notification.h"

StartMissionFunction GameStartMission = nullptr;

namespace {

const char* const kStartMissionKey = "AMissionDispatcher.StartMission";

// Runs one step of a start. A failure is logged as "Mission start: <what> failed<outcome>:
// <reason>" and the step dropped; nothing may reach the game. `outcome` tells the operator what
// the start did instead when that is not plain from the step.
template <typename Step>
void Guarded(const char* what, Step&& step, const char* outcome = "") noexcept {
  Contain(step, [what, outcome](const char* reason) {
    if (reason != nullptr) {
      PluginLog()->warn("Mission start: {} failed{}: {}", what, outcome, EscapeForLog(reason));
    } else {
      PluginLog()->warn("Mission start: {} failed{}", what, outcome);
    }
  });
}

// Shows `message` (UTF-8) through the formatter; its strings are released after it is shown.
void ShowRefusal(AShooterPlayerController* controller, const std::string& message) {
  const NotificationText text(message);
  ShowNotification(controller, text.Formatted(), Red, 2.0f, 10.0f);
}

// The configured message, or the default text when the formatter rejects it.
void NotifyRefused(AShooterPlayerController* controller) {
  try {
    ShowRefusal(controller, DisabledMessage());
  } catch (const fmt::format_error& error) {
    WarnConfigFallback(kDisabledMessageKey, error.what());
    ShowRefusal(controller, kDefaultDisabledMessage);
  }
}

// Records the mission as completed in the character's mission data and replicates it.
void RecordCompleted(UClass* missionClass, APrimalCharacter* character) {
  APrimalBuff_MissionData* buff = GetMissionDataForCharacter(character);
  if (buff == nullptr) return;
  AMissionType* mission = GetDefaultMission(missionClass);
  const FName tag = GetMissionTag(mission);
  SetMissionDataBool(buff, tag, MakeName("Complete"), true);
  const int32_t version = MissionVersion(mission);
  const FName versionEntry = MakeName("Version");
  SetMissionDataInt(buff, tag, versionEntry, version);
  const double completedAt = static_cast<double>(Platform::CurrentTime64()) - 10.0;
  const FName timeEntry = MakeName("CompleteUtcTime");
  SetMissionDataDouble(buff, tag, timeEntry, completedAt);
  ForceReplicateNow(reinterpret_cast<AActor*>(buff));
}

void LogStart(bool refused, UClass* missionClass, AShooterPlayerController* controller) {
  const std::shared_ptr<spdlog::logger>& log = PluginLog();
  const std::string mission =
      EscapeForLog(MissionDisplayName(GetDefaultMission(missionClass)).ToUtf8());
  const std::string player = EscapeForLog(GetPlayerCharacterName(controller).ToUtf8());
  if (refused) {
    log->info("Player {} attempted to start mission: {}!", player, mission);
  } else {
    log->info("Player {} started mission: {}!", player, mission);
  }
}

}  // namespace

uintptr_t StartMissionDetour(AMissionDispatcher* dispatcher, UClass* missionClass,
                             APrimalCharacter* character, uintptr_t fourth) {
  // A hook the host kept after the unload: the game's own start, nothing of the plugin's.
  if (!PluginActive()) return GameStartMission(dispatcher, missionClass, character, fourth);
  // A controller that cannot be found is none; a decision that cannot be made passes the start
  // on, as the filter answers for a configuration it cannot use. The decision is the exported
  // query's, made here with its failures thrown, so that each is reported.
  AShooterPlayerController* controller = nullptr;
  Guarded("the controller lookup", [&] { controller = ControllerOfCharacter(character); });
  bool refused = false;
  Guarded(
      "the decision",
      [&] {
        refused =
            missionClass != nullptr &&
            DisablesMission(PluginConfig, MissionDisplayName(GetDefaultMission(missionClass)));
      },
      ", the start goes on to the game");

  if (refused) {
    if (controller != nullptr) Guarded("the notification", [&] { NotifyRefused(controller); });
    if (character != nullptr) {
      Guarded("the mission data", [&] { RecordCompleted(missionClass, character); });
    }
    Guarded("the log line", [&] {
      if (ShowMissionNames() && controller != nullptr) LogStart(true, missionClass, controller);
    });
    return 0;
  }

  Guarded("the log line", [&] {
    if (ShowMissionNames() && missionClass != nullptr && controller != nullptr) {
      LogStart(false, missionClass, controller);
    }
  });
  return GameStartMission(dispatcher, missionClass, character, fourth);
}

bool InstallMissionStartHook() {
  return HostApi::GetHooks().InstallHook(kStartMissionKey,
                                         reinterpret_cast<void*>(&StartMissionDetour),
                                         reinterpret_cast<void**>(&GameStartMission));
}

bool RemoveMissionStartHook() {
  return HostApi::GetHooks().RemoveHook(kStartMissionKey,
                                        reinterpret_cast<void*>(&StartMissionDetour));
}
