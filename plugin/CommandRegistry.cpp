#include "plugin/CommandRegistry.h"

#include "host-bridge/FString.h"
#include "plugin/PluginState.h"

void RegisterConsoleCommand(const char* name, ConsoleHandler handler) {
  const FString text(name);
  HostApi::GetCommands().AddConsoleCommand(
      text, [handler](APlayerController* player, FString* commandLine, bool fromCheat) {
        if (PluginActive()) handler(player, commandLine, fromCheat);
      });
}

void RegisterRconCommand(const char* name, RconHandler handler) {
  const FString text(name);
  HostApi::GetCommands().AddRconCommand(
      text, [handler](RCONClientConnection* connection, RCONPacket* request, UWorld* world) {
        if (PluginActive()) handler(connection, request, world);
      });
}

bool RemoveConsoleCommand(const char* name) {
  const FString text(name);
  return HostApi::GetCommands().RemoveConsoleCommand(text);
}

bool RemoveRconCommand(const char* name) {
  const FString text(name);
  return HostApi::GetCommands().RemoveRconCommand(text);
}
