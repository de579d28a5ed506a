#include "plugin/ReloadCommands.h"

#include <exception>

#include "host/GameCalls.h"
#include "host/HostApi.h"
#include "plugin/Config.h"
#include "plugin/Log.h"

namespace {

const char* const kCommandName = "qv.reload";
const char* const kReloaded = "QuestVeto: Reloaded config";
const char* const kReloadFailed = "QuestVeto: Failed to reload config";

void LogReloadFailure(const std::exception& error) {
  PluginLog()->critical("Failed to reload config! \n {}", error.what());
}

// The edge between a handler and the host's command dispatch: nothing thrown crosses it.
template <typename Handler>
void AtDispatchEdge(Handler&& handler) noexcept {
  try {
    handler();
  } catch (const std::exception& error) {  // GCOVR_EXCL_START only a failing game heap gets here
    PluginLog()->critical("qv.reload failed unexpectedly: {}", error.what());
  } catch (...) {
    PluginLog()->critical("qv.reload failed unexpectedly");
  }  // GCOVR_EXCL_STOP
}

}  // namespace

void ReloadConfigConsole(APlayerController* player, FString* /*commandLine*/, bool /*fromCheat*/) {
  auto* controller = reinterpret_cast<AShooterPlayerController*>(player);
  try {
    ReadConfig();
    SendDirectChat(controller, kReloaded, Green);
  } catch (const std::exception& error) {  // GCOVR_EXCL_BR_LINE nothing else is thrown here
    LogReloadFailure(error);
    SendDirectChat(controller, kReloadFailed, Red);
  }
}

void ReloadConfigRcon(RCONClientConnection* connection, RCONPacket* request, UWorld* /*world*/) {
  try {
    ReadConfig();
    ReplyRcon(connection, request, kReloaded);
  } catch (const std::exception& error) {  // GCOVR_EXCL_BR_LINE nothing else is thrown here
    LogReloadFailure(error);
    ReplyRcon(connection, request, kReloadFailed);
  }
}

void RegisterReloadCommands() {
  {
    const FString name(kCommandName);
    const HostApi::ConsoleCommand handler = [](APlayerController* player, FString* line,
                                               bool fromCheat) {
      AtDispatchEdge([&] { ReloadConfigConsole(player, line, fromCheat); });
    };
    HostApi::GetCommands().AddConsoleCommand(name, handler);
  }
  {
    const FString name(kCommandName);
    const HostApi::RconCommand handler = [](RCONClientConnection* connection, RCONPacket* request,
                                            UWorld* world) {
      AtDispatchEdge([&] { ReloadConfigRcon(connection, request, world); });
    };
    HostApi::GetCommands().AddRconCommand(name, handler);
  }
}

void RemoveReloadCommands() {
  {
    const FString name(kCommandName);
    HostApi::GetCommands().RemoveConsoleCommand(name);
  }
  {
    const FString name(kCommandName);
    HostApi::GetCommands().RemoveRconCommand(name);
  }
}
