// The game functions the stand-in's own host calls as well as plugins do, with the game's
// signatures: the host answers players and RCON clients the way the game delivers chat and RCON
// replies. Every game function is registered under its key for GetAddress (GameFunctions.cpp).
#pragma once

#include <cstdint>

#include "host-bridge/Color.h"
#include "host-bridge/FString.h"
#include "host-bridge/GameTypes.h"

namespace StandIn {

// The game's chat message to one player.
void SendChat(AShooterPlayerController* controller, FString* message, LinearColor* color,
              bool flag);
// The game's reply to an RCON request.
void SendRconMessage(RCONClientConnection* connection, int32_t requestId, int32_t type,
                     FString* message);

}  // namespace StandIn
