// The world file: the missions and players a sandbox server starts with, as JSON:
//   {"missions": [{"name": "Hunt", "version": 3, "tag": "MissionHunt"}, ...],
//    "players":  [{"name": "Bob", "alive": true, "controller": true, "missionData": true}, ...]}
// A mission's "version" defaults to 1; a player's three flags default to true. Player names are
// single words (the console takes them as one), and names are unique within their list.
#pragma once

#include <stdexcept>
#include <string>

#include "standin/World.h"

namespace Sandbox {

// A world file is read into the stand-in's plan of a world.
using StandIn::MissionPlan;
using StandIn::PlayerPlan;
using StandIn::WorldPlan;

// A world file that cannot be used; what() names the file and the offending key or value. What it
// quotes of the file or its name is printable: a byte a terminal would take as a command, or one
// that is no UTF-8, is written as \xHH.
class WorldFileError : public std::runtime_error {
 public:
  explicit WorldFileError(const std::string& message);
};

// Reads the world file at `path`.
WorldPlan ReadWorldFile(const std::string& path);
// Parses world file text; `source` names it in errors.
WorldPlan ParseWorld(const std::string& text, const std::string& source);

}  // namespace Sandbox
