// Entry point of a console program with wmain(). As the real runtime's: it has the UCRT split the
// command line into arguments (as given, no wildcard expansion) and set up the environment, runs
// the static constructors, calls wmain and leaves through exit(), which runs the atexit functions
// and static destructors and flushes the streams. The linker picks this entry when the program
// defines wmain.
#include "crt/ucrt_startup.h"

#include "crt/module_exit.h"
#include "crt/module_start.h"

extern "C" {
int wmain(int argc, wchar_t** argv);

int wmainCRTStartup(void) {
  qv_crt::UseProcessExitTable();
  _set_app_type(_crt_console_app);
  if (_configure_wide_argv(_crt_argv_unexpanded_arguments) != 0 || _initialize_wide_environment() != 0 ||
      !qv_crt::InitializeModule()) {
    exit(255);
  }
  exit(wmain(*__p___argc(), *__p___wargv()));
}
}
