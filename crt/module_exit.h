// What the entry points tell module_exit.cpp about the module (see there).
#pragma once

namespace qv_crt {

// A DLL: registered functions run from RunModuleExitTable at unload. False when the table
// cannot be set up.
bool UseModuleExitTable();
void RunModuleExitTable();

// A program: registered functions run at exit(), with the UCRT's own.
void UseProcessExitTable();

}  // namespace qv_crt
