// The plugin's commands as the host's command registry takes them: a name built afresh for each
// call (the registry keeps its own copy) and the handler wrapped in the registry's callable.
#pragma once

#include "host-bridge/HostApi.h"

void RegisterConsoleCommand(const char* name, const HostApi::ConsoleCommand& handler);
void RegisterRconCommand(const char* name, const HostApi::RconCommand& handler);
// The host's answer to a removal: false when it held no such command.
bool RemoveConsoleCommand(const char* name);
bool RemoveRconCommand(const char* name);
