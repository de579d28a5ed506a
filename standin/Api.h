// Export marker for the stand-in host's own control surface: what the stand-in server, tools and
// tests use to drive the simulated game, beside the functions plugins import (host-bridge/HostApi.h).
#pragma once

#include "host-bridge/Platform.h"

#define STANDIN_API HOSTAPI
