// What the operator's programs (questveto-rcon, questveto-config-check, questveto-sandbox) share on
// their command line: one exit status scheme and one --version.
#pragma once

#include <iosfwd>
#include <optional>

#include <CLI/CLI.hpp>

namespace CommandLine {

// The exit statuses of every program:
// 0: everything asked was done, nothing to report;
// 1: the program ran, and what it was asked failed in part (a server that failed, a warning);
// 2: it could not do what it was asked: a wrong command line, or an input it cannot use.
// --help and --version exit 0.
constexpr int kSucceeded = 0;
constexpr int kPartlyFailed = 1;
constexpr int kUsageError = 2;

// Adds --version ("<program> <version>", the program being the name `app` was made with) and
// parses the command line. None when the program goes on; otherwise the status to exit with, after
// the help or the version on `out`, or the parser's message with a hint to --help on `err`.
std::optional<int> Parse(CLI::App& app, int argc, const char* const* argv, std::ostream& out,
                         std::ostream& err);

// The same on the process's standard output and error.
std::optional<int> Parse(CLI::App& app, int argc, const char* const* argv);

}  // namespace CommandLine
