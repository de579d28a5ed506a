// The players and missions of the running stand-in world, made from a world file and found again
// by the names the console uses: the stand-in's roster of the world file's plan.
#pragma once

#include "standin/World.h"

namespace Sandbox {

using StandIn::Mission;
using StandIn::Player;
using StandIn::Roster;

}  // namespace Sandbox
