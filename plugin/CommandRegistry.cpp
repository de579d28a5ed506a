#include "plugin/CommandRegistry.h"

#include "host/FString.h"

void RegisterConsoleCommand(const char* name, HostApi::ConsoleCommand handler) {
  const FString text(name);
  HostApi::GetCommands().AddConsoleCommand(text, handler);
}

void RegisterRconCommand(const char* name, HostApi::RconCommand handler) {
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
