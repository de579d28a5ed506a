// The host the config checker carries inside instead of the server's: exactly what the plugin's
// rules call of a host, and nothing of a game world. It defines the host functions
// GetAddress(key) and HostApi::Tools::Utf8Encode and Utf8Decode (host-bridge/HostApi.h):
// - GetAddress answers "FMemory.Malloc", "FMemory.Realloc" and "FMemory.Free" with the C runtime's
//   heap, and throws std::logic_error naming any other key, which the checker never looks up;
// - the UTF-8 conversions are the stand-in host's, so the checker decodes a config exactly as the
//   stand-in server does.
// The other host functions are not defined: a checker that came to call one would not link.
#pragma once

#include <cstdint>

namespace CheckerHost {

// Game heap blocks allocated and not yet released; 0 after a check that freed all it took.
uint64_t LiveBlocks();

}  // namespace CheckerHost
