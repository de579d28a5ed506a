// What the plugin records of its reads of config.json, for the operator's "qv.status" (what the
// load placed with the host is PlacedAtLoad, Lifecycle.h). Written where a read happens and read
// only to be reported; nothing decides by it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct ConfigReads {
  std::optional<int64_t> LastSucceeded;  // when a read last succeeded (seconds since 1970, UTC)
  std::optional<int64_t> LastFailed;     // when a read last failed
  std::string LastFailure;               // why that read failed
  bool LastReadFailed = false;           // the latest read was the failed one
};

// The record of the reads of config.json, kept by ReadConfig.
ConfigReads& ConfigReadRecord();
