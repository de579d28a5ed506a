// The initialisation every entry point does before handing over to the module's own code.
#include "crt/module_start.h"

#include "crt/ucrt_startup.h"

extern "C" {
extern _PIFV __xi_a[], __xi_z[];
extern _PVFV __xc_a[], __xc_z[];
void __cdecl __security_init_cookie(void);
}

namespace qv_crt {

bool InitializeModule() {
  __security_init_cookie();
  if (_initterm_e(__xi_a, __xi_z) != 0) return false;
  _initterm(__xc_a, __xc_z);
  return true;
}

}  // namespace qv_crt
