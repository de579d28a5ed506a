// atexit for every module: where the functions registered during a module's life run.
//
// The real runtime gives each DLL a table of its own, run when the DLL unloads (FreeLibrary, or
// the process ending), so a static object of a plugin unloaded early is destroyed while its code
// is still mapped; a program's functions go to the UCRT's process table, run by exit(). The
// compiler registers each static object's destructor through atexit, so this is also where the
// destructors of static objects go. The entry point says which kind of module this is.
#include "crt/ucrt_startup.h"
#include <stdlib.h>

#include "crt/module_exit.h"

namespace {
_onexit_table_t moduleTable;
bool processTable = false;
}  // namespace

extern "C" int __cdecl atexit(_PVFV function) {
  if (processTable) return _crt_atexit(function) == 0 ? 0 : -1;
  return _register_onexit_function(&moduleTable, reinterpret_cast<_onexit_t>(function)) == 0 ? 0 : -1;
}

extern "C" _onexit_t __cdecl _onexit(_onexit_t function) {
  return atexit(reinterpret_cast<_PVFV>(function)) == 0 ? function : nullptr;
}

namespace qv_crt {

bool UseModuleExitTable() { return _initialize_onexit_table(&moduleTable) == 0; }

void UseProcessExitTable() { processTable = true; }

void RunModuleExitTable() { _execute_onexit_table(&moduleTable); }

}  // namespace qv_crt
