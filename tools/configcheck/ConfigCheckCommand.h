// questveto-config-check: the command line around the check, and its report for a terminal (one
// line per finding and mission, then a summary) or for a script (one JSON document).
#pragma once

#include <ostream>

// Parses the command line (`argv[0]` is the program), checks the file, writes the report to
// `out` and answers the exit status: 0 clean, 1 warnings only, 2 an error, which includes a
// wrong command line or an unreadable missions file (its message goes to `err`). --help writes
// the usage to `out` and answers 0.
int RunConfigCheck(int argc, const char* const* argv, std::ostream& out, std::ostream& err);
