// The plugin's commands as the host's command registry takes them: a name built afresh for each
// call (the registry keeps its own copy) and the handler wrapped in the registry's callable.
#pragma once

#include "host/HostApi.h"

void RegisterConsoleCommand(const char* name, const HostApi::ConsoleCommand& handler);
void RegisterRconCommand(const char* name, const HostApi::RconCommand& handler);
void RemoveConsoleCommand(const char* name);
void RemoveRconCommand(const char* name);
