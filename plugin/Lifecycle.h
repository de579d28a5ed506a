// The plugin's load and unload sequences, run by the library's process attach and detach.
#pragma once

// Creates the logger, reads the configuration, places the mission start hook and registers
// "qv.reload" and "qv.status". A configuration that cannot be read is logged at critical and leaves
// no mission switched off; the rest of the load goes on so that the operator can mend the file and
// reload. Any other failing step is logged at critical and the load goes on, unless the logger
// itself cannot be made: then nothing is placed. Nothing thrown leaves it.
void PluginLoad() noexcept;

// Takes the hook and the commands away again, each even when one before it failed, a failed
// removal tried once more; safe after a partial load. A removal the host refuses is logged at
// critical when the load had placed it. When a removal fails twice, the host keeps that hook or
// handler: the library is then kept loaded until the process ends, so that the host can still
// call and drop it, and one line at critical names what was left. Nothing thrown leaves it.
void PluginUnload() noexcept;
