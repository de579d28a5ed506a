// The plugin's load and unload sequences, run by the library's process attach and detach.
#pragma once

// Creates the logger, reads the configuration, places the mission start hook and registers
// "qv.reload". A configuration that cannot be read is logged at critical and leaves no mission
// switched off; the rest of the load goes on so that the operator can mend the file and reload.
void PluginLoad();

// Takes the hook and both commands away again; safe after a partial load.
void PluginUnload();
