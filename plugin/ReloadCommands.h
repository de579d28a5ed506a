// "qv.reload": re-reads config.json at run time, from a player's or the server's console and
// over RCON, and tells the caller whether it worked.
#pragma once

#include "host/FString.h"
#include "host/GameTypes.h"

// Console handler: re-reads the configuration; the player (null for the server console) is told
// the outcome in chat. A failure is logged at critical with its reason.
void ReloadConfigConsole(APlayerController* player, FString* commandLine, bool fromCheat);
// RCON handler: re-reads the configuration and replies under the request's id.
void ReloadConfigRcon(RCONClientConnection* connection, RCONPacket* request, UWorld* world);

// Registers each handler under "qv.reload" with the host / removes it again.
void RegisterConsoleReloadCommand();
void RegisterRconReloadCommand();
void RemoveConsoleReloadCommand();
void RemoveRconReloadCommand();
