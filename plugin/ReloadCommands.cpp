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

void LogReloadFailure(const char* reason) {
  PluginLog()->critical("Failed to reload config! \n {}", reason);
}

// The edge between a handler and the host's command dispatch: nothing thrown crosses it.
template <typename Handler>
void AtDispatchEdge(Handler&& handler) noexcept {
  try {
    handler();
  } catch (const std::exception& error) {
    PluginLog()->critical("qv.reload failed unexpectedly: {}", error.what());
  } catch (...) {
    PluginLog()->critical("qv.reload failed unexpectedly");
  }
}

}  // namespace

void ReloadConfigConsole(APlayerController* player, FString* /*commandLine*/, bool /*fromCheat*/) {
  auto* controller = reinterpret_cast<AShooterPlayerController*>(player);
  try {
    ReadConfig();
    SendDirectChat(controller, kReloaded, Green);
  } catch (const std::exception& error) {
    LogReloadFailure(error.what());
    SendDirectChat(controller, kReloadFailed, Red);
  } catch (...) {
    LogReloadFailure("unknown error");
    SendDirectChat(controller, kReloadFailed, Red);
  }
}

void ReloadConfigRcon(RCONClientConnection* connection, RCONPacket* request, UWorld* /*world*/) {
  try {
    ReadConfig();
    ReplyRcon(connection, request, kReloaded);
  } catch (const std::exception& error) {
    LogReloadFailure(error.what());
    ReplyRcon(connection, request, kReloadFailed);
  } catch (...) {
    LogReloadFailure("unknown error");
    ReplyRcon(connection, request, kReloadFailed);
  }
}

void RegisterConsoleReloadCommand() {
  const FString name(kCommandName);
  const HostApi::ConsoleCommand handler = [](APlayerController* player, FString* line,
                                             bool fromCheat) {
    AtDispatchEdge([&] { ReloadConfigConsole(player, line, fromCheat); });
  };
  HostApi::GetCommands().AddConsoleCommand(name, handler);
}

void RegisterRconReloadCommand() {
  const FString name(kCommandName);
  const HostApi::RconCommand handler = [](RCONClientConnection* connection, RCONPacket* request,
                                          UWorld* world) {
    AtDispatchEdge([&] { ReloadConfigRcon(connection, request, world); });
  };
  HostApi::GetCommands().AddRconCommand(name, handler);
}

void RemoveConsoleReloadCommand() {
  const FString name(kCommandName);
  HostApi::GetCommands().RemoveConsoleCommand(name);
}

void RemoveRconReloadCommand() {
  const FString name(kCommandName);
  HostApi::GetCommands().RemoveRconCommand(name);
}
