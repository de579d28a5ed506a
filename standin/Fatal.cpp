#include "standin/Fatal.h"

#include <cstdio>
#include <cstdlib>

namespace StandIn {

void Fatal(const std::string& message) {
  std::fprintf(stderr, "stand-in: %s\n", message.c_str());
  std::fflush(stderr);
  std::abort();
}

}  // namespace StandIn
