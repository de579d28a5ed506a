#include "plugin/ReloadCommands.h"

#include <optional>
#include <string>

#include "host-bridge/GameCalls.h"
#include "plugin/CommandRegistry.h"
#include "plugin/Config.h"
#include "plugin/ConfigSummary.h"
#include "plugin/Containment.h"
#include "plugin/Log.h"
#include "plugin/LogText.h"

namespace {

const char* const kCommandName = "qv.reload";
const char* const kReloaded = "QuestVeto: Reloaded config";
const char* const kReloadFailed = "QuestVeto: Failed to reload config";

// Re-reads the configuration and tells `answer` whether it was read; a failed read is logged at
// critical with its reason. When the new configuration asks for its summary, what is in force and
// what changed are logged first. An answer that fails after a good read is logged as a failed
// read, although the new configuration is in force (the summary, when asked for, says so). The
// reason is copied while what was thrown is still alive.
template <typename Answer>
void ReadAndAnswer(Answer& answer) {
  std::optional<std::string> failure;
  Contain(
      [&] {
        // What the summary compares is taken from the configuration replaced, and only when
        // asked for: neither a copy of it nor its entries cost a reload without the summary.
        nlohmann::json replaced;
        failure = ReadConfig(&replaced);
        if (failure) return;
        if (ShowConfigSummary()) {
          const ConfigInForce after = InForceIn(PluginConfig);
          PluginLog()->info("Reloaded config from {}: {}; {}", EscapeForLog(LastConfigPath()),
                            EntriesInForceText(after.Entries.size()),
                            ChangesInForce(InForceIn(replaced), after));
        }
        answer(true);
      },
      [&](const char* reason) { failure = OrUnknown(reason); });
  if (!failure) return;
  PluginLog()->critical("Failed to reload config! \n {}", EscapeForLog(*failure));
  WarnOfConfigNearMisses();
  answer(false);
}

// The one reload both commands answer from. The host's command dispatch is the edge: what the
// failure's answer itself throws stops here.
template <typename Answer>
void Reload(Answer answer) noexcept {
  Contain([&] { ReadAndAnswer(answer); },
          [](const char* reason) {
            if (reason != nullptr) {
              PluginLog()->critical("qv.reload failed unexpectedly: {}", EscapeForLog(reason));
            } else {
              PluginLog()->critical("qv.reload failed unexpectedly");
            }
          });
}

// The player who gave the command (null for the server console) is told in chat.
void ReloadConfigConsole(APlayerController* player, FString* /*commandLine*/, bool /*fromCheat*/) {
  auto* controller = reinterpret_cast<AShooterPlayerController*>(player);
  Reload([controller](bool read) {
    SendDirectChat(controller, read ? kReloaded : kReloadFailed, read ? Green : Red);
  });
}

// The reply goes out under the request's id.
void ReloadConfigRcon(RCONClientConnection* connection, RCONPacket* request, UWorld* /*world*/) {
  Reload([connection, request](bool read) {
    ReplyRcon(connection, request, read ? kReloaded : kReloadFailed);
  });
}

}  // namespace

void RegisterConsoleReloadCommand() {
  RegisterConsoleCommand(kCommandName, ReloadConfigConsole);
}

void RegisterRconReloadCommand() {
  RegisterRconCommand(kCommandName, ReloadConfigRcon);
}

bool RemoveConsoleReloadCommand() {
  return RemoveConsoleCommand(kCommandName);
}

bool RemoveRconReloadCommand() {
  return RemoveRconCommand(kCommandName);
}
