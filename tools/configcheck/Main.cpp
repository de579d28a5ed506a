// questveto-config-check CONFIG [NAME...] [--missions FILE] [--json]
#include <iostream>

#include "host/Platform.h"
#include "tools/configcheck/ConfigCheckCommand.h"

#if defined(_WIN32)
// Arguments from the wide command line: a config under a directory, or a mission name, in any
// script arrives whole (the program is linked with -municode).
int wmain(int argc, wchar_t** argv) {
  Platform::Utf8Arguments arguments(argc, argv);
  return RunConfigCheck(arguments.Count(), arguments.Values(), std::cout, std::cerr);
}
#else
int main(int argc, char** argv) {
  return RunConfigCheck(argc, argv, std::cout, std::cerr);
}
#endif
