// Entry point of a DLL. As the real runtime's: on attach it sets up the module's exit table and
// runs the static constructors, then calls DllMain; on detach it calls DllMain, then runs the
// module's exit table (static destructors, atexit functions) and frees the type-name cache, so a
// DLL unloaded before the process ends leaves nothing behind. When DllMain refuses the attach,
// what the constructors built is torn down again.
#include <corecrt.h>
#include <typeinfo>

#include "crt/module_exit.h"
#include "crt/module_start.h"

extern "C" {
__declspec(dllimport) void __cdecl __std_type_info_destroy_list(__type_info_node* root);

// A DLL without DllMain of its own gets this one, which accepts every notification.
int __stdcall qv_default_dll_main(void*, unsigned long, void*) { return 1; }
#pragma comment(linker, "/alternatename:DllMain=qv_default_dll_main")
int __stdcall DllMain(void* instance, unsigned long reason, void* reserved);

int __stdcall _DllMainCRTStartup(void* instance, unsigned long reason, void* reserved) {
  enum { kProcessDetach = 0, kProcessAttach = 1 };
  if (reason == kProcessAttach && (!qv_crt::UseModuleExitTable() || !qv_crt::InitializeModule())) {
    return 0;
  }
  const int result = DllMain(instance, reason, reserved);
  if ((reason == kProcessAttach && result == 0) || reason == kProcessDetach) {
    qv_crt::RunModuleExitTable();
    __std_type_info_destroy_list(&__type_info_root_node);
  }
  return result;
}
}
