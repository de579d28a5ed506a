// Makes the game world of a newly started stand-in server.
#pragma once

#include <memory>

#include "standin/World.h"

namespace StandIn {

// An empty world: no missions, controllers, characters or connections; one dispatcher.
std::unique_ptr<World> MakeWorld();

}  // namespace StandIn
