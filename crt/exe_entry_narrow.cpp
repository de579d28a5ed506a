// Entry point of a console program with main(). As the real runtime's: it has the UCRT split the
// command line into arguments (as given, no wildcard expansion) and set up the environment, runs
// the static constructors, calls main and leaves through exit(), which runs the atexit functions
// and static destructors and flushes the streams. The linker picks this entry when the program
// defines main.
#include "crt/ucrt_startup.h"

#include "crt/module_exit.h"
#include "crt/module_start.h"

extern "C" {
int main(int argc, char** argv);

int mainCRTStartup(void) {
  qv_crt::UseProcessExitTable();
  _set_app_type(_crt_console_app);
  if (_configure_narrow_argv(_crt_argv_unexpanded_arguments) != 0 || _initialize_narrow_environment() != 0 ||
      !qv_crt::InitializeModule()) {
    exit(255);
  }
  exit(main(*__p___argc(), *__p___argv()));
}
}
