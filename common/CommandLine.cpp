#include "common/CommandLine.h"

#include <iostream>

#include "plugin/Version.h"

namespace CommandLine {

std::optional<int> Parse(CLI::App& app, int argc, const char* const* argv, std::ostream& out,
                         std::ostream& err) {
  app.set_version_flag("--version", app.get_name() + " " + kPluginVersion,
                       "Print the program's name and version and exit");
  try {
    app.parse(argc, argv);
    return std::nullopt;
  } catch (const CLI::ParseError& error) {
    // CLI11 numbers each kind of parse error from 100 up; all of them are a wrong command line.
    return app.exit(error, out, err) == 0 ? kSucceeded : kUsageError;
  }
}

std::optional<int> Parse(CLI::App& app, int argc, const char* const* argv) {
  return Parse(app, argc, argv, std::cout, std::cerr);
}

}  // namespace CommandLine
