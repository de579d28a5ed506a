// The configuration's settings as the mission start reads them, afresh at every call. A value
// that cannot be used falls back to its default and logs a warning naming the key and the reason
// (once per read of the configuration), so the operator can mend config.json; nothing is thrown.
#pragma once

#include <string>

#include "plugin/ConfigKeys.h"

// "DisabledMessage" (UTF-8), or the default text when absent or not a string.
std::string DisabledMessage();

// "ShowMissionNames", or false when absent or not a boolean.
bool ShowMissionNames();
