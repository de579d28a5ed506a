// The check's result for a terminal (one line per finding and mission, then a summary) or for a
// script (one JSON document), and its exit status.
#pragma once

#include <ostream>
#include <vector>

#include "tools/configcheck/ConfigCheck.h"
#include "tools/configcheck/MissionVerdict.h"

// 0 without findings, 1 with warnings only, 2 with an error.
int ExitStatus(const std::vector<Finding>& findings);

// path:line:column: severity: message (path: severity: message without a place), then
//   mission "NAME": switched off by entry N "TEXT" | not switched off[ (why)] | not checked: ...
// then "path: no problems found" or "path: E errors, W warnings" (zero counts left out).
void WriteText(std::ostream& out, const ConfigCheck& check,
               const std::vector<MissionVerdict>& verdicts);

// {"file": path,
//  "findings": [{"severity": "error"|"warning", "message", "line", "column", "key"}],
//  "missions": [{"name", "disabled": bool|null, "entry": {"number", "text"}|null, "note"}],
//  "exit_status": 0|1|2}
// line, column and key are null when they do not apply, note when empty; entries are numbered
// from 1 in the order the plugin tries them.
void WriteJson(std::ostream& out, const ConfigCheck& check,
               const std::vector<MissionVerdict>& verdicts);
