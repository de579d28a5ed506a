// questveto-config-check CONFIG [NAME...] [--missions FILE] [--json]
#include <iostream>

#include "tools/configcheck/ConfigCheckCommand.h"

int main(int argc, char** argv) {
  return RunConfigCheck(argc, argv, std::cout, std::cerr);
}
