// Misuse of the stand-in game (an unknown key, a foreign free, a wrong object) must never pass
// silently or crash later somewhere else: it stops the process at once with a named message.
#pragma once

#include <string>

#include "standin/Api.h"

namespace StandIn {

// Writes "stand-in: <message>" to standard error and aborts the process.
[[noreturn]] STANDIN_API void Fatal(const std::string& message);

}  // namespace StandIn
