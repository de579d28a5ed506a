#include "plugin/CommandRegistry.h"

#include "host/FString.h"

void RegisterConsoleCommand(const char* name, const HostApi::ConsoleCommand& handler) {
  const FString text(name);
  HostApi::GetCommands().AddConsoleCommand(text, handler);
}

void RegisterRconCommand(const char* name, const HostApi::RconCommand& handler) {
  const FString text(name);
  HostApi::GetCommands().AddRconCommand(text, handler);
}

void RemoveConsoleCommand(const char* name) {
  const FString text(name);
  HostApi::GetCommands().RemoveConsoleCommand(text);
}

void RemoveRconCommand(const char* name) {
  const FString text(name);
  HostApi::GetCommands().RemoveRconCommand(text);
}
