// The UCRT's start-up functions the entry points call, as its own corecrt_startup.h declares
// them (mingw-w64's declares only some).
#pragma once

#include <corecrt.h>
#include <corecrt_startup.h>
#include <stdlib.h>

extern "C" {
enum _crt_app_type { _crt_unknown_app, _crt_console_app, _crt_gui_app };
enum _crt_argv_mode { _crt_argv_no_arguments, _crt_argv_unexpanded_arguments,
                      _crt_argv_expanded_arguments };
__declspec(dllimport) void __cdecl _set_app_type(_crt_app_type type);
__declspec(dllimport) int __cdecl _configure_narrow_argv(_crt_argv_mode mode);
__declspec(dllimport) int __cdecl _configure_wide_argv(_crt_argv_mode mode);
__declspec(dllimport) int __cdecl _initialize_narrow_environment(void);
__declspec(dllimport) int __cdecl _initialize_wide_environment(void);
__declspec(dllimport) void __cdecl _initterm(_PVFV* first, _PVFV* last);
__declspec(dllimport) int __cdecl _initterm_e(_PIFV* first, _PIFV* last);
}
