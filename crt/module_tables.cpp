// The bounds of a module's initialiser tables and the few data the compiler's output refers to.
//
// The compiler puts a pointer to each C initialiser in a section .CRT$XIU... and to each C++
// dynamic initialiser (a static object's constructor) in .CRT$XCU; the linker sorts the .CRT$X*
// sections of all objects by name, so the entries land between the A and Z markers defined here.
// The real runtime's start-up library defines the same markers, and its entry points walk them with
// the UCRT's _initterm/_initterm_e, as dll_entry.cpp and exe_entry*.cpp do.
#include "crt/ucrt_startup.h"
#include <typeinfo>

extern "C" {
// Referenced by every object that uses floating point; its value is the one the real runtime uses.
int _fltused = 0x9875;

#pragma section(".CRT$XIA", long, read)
#pragma section(".CRT$XIZ", long, read)
#pragma section(".CRT$XCA", long, read)
#pragma section(".CRT$XCZ", long, read)
__declspec(allocate(".CRT$XIA")) _PIFV __xi_a[] = {nullptr};
__declspec(allocate(".CRT$XIZ")) _PIFV __xi_z[] = {nullptr};
__declspec(allocate(".CRT$XCA")) _PVFV __xc_a[] = {nullptr};
__declspec(allocate(".CRT$XCZ")) _PVFV __xc_z[] = {nullptr};

// The module's cache of the readable type names type_info::name() hands out (vcruntime140 fills
// it); a DLL's entry point frees it when the DLL unloads.
__declspec(align(16)) __type_info_node __type_info_root_node;
}

type_info::~type_info() noexcept = default;

// type_info's virtual table. The compiler emits a class's table beside a constructor, and
// type_info has none (its objects are the compiler's RTTI records), so the runtime writes it out:
// the slot of the complete-object locator, left empty, then the scalar deleting destructor.
extern "C" void* __cdecl qv_type_info_deleting_destructor(type_info* self, unsigned flags) noexcept {
  self->~type_info();
  if ((flags & 1) != 0) operator delete(self);
  return self;
}
__asm__(".section .rdata,\"dr\"\n"
        ".p2align 3\n"
        ".quad 0\n"
        ".globl \"??_7type_info@@6B@\"\n"
        "\"??_7type_info@@6B@\":\n"
        ".quad qv_type_info_deleting_destructor\n"
        ".text\n");
