// Warnings about configuration values the plugin cannot use and replaces by their defaults. Each
// problem is logged once per read of the configuration, at the first mission start that meets it,
// so that a typo in config.json gives one line rather than one at every start.
#pragma once

#include <string>

// Logs "Config key "<key>" cannot be used, the default applies: <reason>" at warning, unless the
// same key and reason were logged since the configuration was last read.
void WarnConfigFallback(const std::string& key, const std::string& reason);

// Called after every successful read of the configuration (load or reload): every problem is
// logged again, once, when it is next met.
void ForgetConfigWarnings();
