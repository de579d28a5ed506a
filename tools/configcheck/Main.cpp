// questveto-config-check CONFIG [NAME...] [--missions FILE] [--json]
#include <iostream>

#include "host-bridge/Platform.h"
#include "tools/configcheck/ConfigCheckCommand.h"

#if defined(_WIN32)
#include "tools/configcheck/ConsoleOutput.h"

// Arguments from the wide command line: a config under a directory, or a mission name, in any
// script arrives whole (the program is linked with -municode); the report reaches a console as
// text, whatever its code page.
int wmain(int argc, wchar_t** argv) {
  Platform::Utf8Arguments arguments(argc, argv);
  ConsoleOutput out(StandardStream::Output);
  ConsoleOutput err(StandardStream::Error);
  return RunConfigCheck(arguments.Count(), arguments.Values(), out.Stream(), err.Stream());
}
#else
int main(int argc, char** argv) {
  return RunConfigCheck(argc, argv, std::cout, std::cerr);
}
#endif
