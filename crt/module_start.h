// Start-up steps an entry point shares with the others.
#pragma once

namespace qv_crt {

// Sets the stack cookie and runs the module's C and C++ initialisers (static constructors), in
// the order the linker laid them out. False when a C initialiser failed.
bool InitializeModule();

}  // namespace qv_crt
