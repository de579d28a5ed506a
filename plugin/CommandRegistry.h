// The plugin's commands as the host's command registry takes them: a name built afresh for each
// call (the registry keeps its own copy) and the handler wrapped in the registry's callable.
#pragma once

#include "host-bridge/HostApi.h"

using ConsoleHandler = void (*)(APlayerController*, FString*, bool);
using RconHandler = void (*)(RCONClientConnection*, RCONPacket*, UWorld*);

// The registered callable runs `handler` only while the plugin is loaded: one that the host
// still holds after the unload does nothing, and reads nothing but the handler's address and
// whether the plugin is loaded.
void RegisterConsoleCommand(const char* name, ConsoleHandler handler);
void RegisterRconCommand(const char* name, RconHandler handler);
// The host's answer to a removal: false when it held no such command.
bool RemoveConsoleCommand(const char* name);
bool RemoveRconCommand(const char* name);
