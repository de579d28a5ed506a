#include "plugin/CommandRegistry.h"

#include "host-bridge/FString.h"

void RegisterConsoleCommand(const char* name, const HostApi::ConsoleCommand& handler) {
  const FString text(name);
  HostApi::GetCommands().AddConsoleCommand(text, handler);
}

void RegisterRconCommand(const char* name, const HostApi::RconCommand& handler) {
  const FString text(name);
  HostApi::GetCommands().AddRconCommand(text, handler);
}

bool RemoveConsoleCommand(const char* name) {
  const FString text(name);
  return HostApi::GetCommands().RemoveConsoleCommand(text);
}

bool RemoveRconCommand(const char* name) {
  const FString text(name);
  return HostApi::GetCommands().RemoveRconCommand(text);
}
