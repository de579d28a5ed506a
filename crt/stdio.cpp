// The printf and scanf families. The UCRT exports only their common entry points
// (__stdio_common_v*) and its own headers define the familiar functions inline over them; the C
// headers used here declare them as ordinary functions, so, as the real runtime's start-up
// library would, they are defined once here, with the options the UCRT's headers pass by default.
#include <stdarg.h>
#include <stddef.h>
#include <stdint.h>

extern "C" {
struct _iobuf;
typedef struct _iobuf FILE;
__declspec(dllimport) FILE* __cdecl __acrt_iob_func(unsigned index);
__declspec(dllimport) int __cdecl __stdio_common_vfprintf(uint64_t, FILE*, const char*, void*, va_list);
__declspec(dllimport) int __cdecl __stdio_common_vsprintf(uint64_t, char*, size_t, const char*, void*, va_list);
__declspec(dllimport) int __cdecl __stdio_common_vfwprintf(uint64_t, FILE*, const wchar_t*, void*, va_list);
__declspec(dllimport) int __cdecl __stdio_common_vswprintf(uint64_t, wchar_t*, size_t, const wchar_t*, void*, va_list);
__declspec(dllimport) int __cdecl __stdio_common_vfscanf(uint64_t, FILE*, const char*, void*, va_list);
__declspec(dllimport) int __cdecl __stdio_common_vsscanf(uint64_t, const char*, size_t, const char*, void*, va_list);

// The defaults of the C runtime's own headers: %s in wide formats is wide text.
static const uint64_t printf_options = 0x0004;     // _CRT_INTERNAL_PRINTF_LEGACY_WIDE_SPECIFIERS
static const uint64_t scanf_options = 0x0002;      // _CRT_INTERNAL_SCANF_LEGACY_WIDE_SPECIFIERS
static const uint64_t legacy_termination = 0x0001;  // _CRT_INTERNAL_PRINTF_LEGACY_VSPRINTF_NULL_TERMINATION
static const uint64_t standard_snprintf = 0x0002;   // _CRT_INTERNAL_PRINTF_STANDARD_SNPRINTF_BEHAVIOR

int __cdecl vfprintf(FILE* file, const char* format, va_list args) {
    return __stdio_common_vfprintf(printf_options, file, format, nullptr, args);
}
int __cdecl vprintf(const char* format, va_list args) { return vfprintf(__acrt_iob_func(1), format, args); }
int __cdecl vsnprintf(char* buffer, size_t count, const char* format, va_list args) {
    int result = __stdio_common_vsprintf(printf_options | standard_snprintf, buffer, count, format, nullptr, args);
    return result < 0 ? -1 : result;
}
int __cdecl _vsnprintf(char* buffer, size_t count, const char* format, va_list args) {
    int result = __stdio_common_vsprintf(printf_options | legacy_termination, buffer, count, format, nullptr, args);
    return result < 0 ? -1 : result;
}
int __cdecl vsprintf(char* buffer, const char* format, va_list args) {
    return _vsnprintf(buffer, static_cast<size_t>(-1), format, args);
}
int __cdecl _vscprintf(const char* format, va_list args) {
    int result = __stdio_common_vsprintf(printf_options | standard_snprintf, nullptr, 0, format, nullptr, args);
    return result < 0 ? -1 : result;
}
int __cdecl _vsnwprintf(wchar_t* buffer, size_t count, const wchar_t* format, va_list args) {
    int result = __stdio_common_vswprintf(printf_options | legacy_termination, buffer, count, format, nullptr, args);
    return result < 0 ? -1 : result;
}
int __cdecl vfwprintf(FILE* file, const wchar_t* format, va_list args) {
    return __stdio_common_vfwprintf(printf_options, file, format, nullptr, args);
}
int __cdecl vfscanf(FILE* file, const char* format, va_list args) {
    return __stdio_common_vfscanf(scanf_options, file, format, nullptr, args);
}
int __cdecl vscanf(const char* format, va_list args) { return vfscanf(__acrt_iob_func(0), format, args); }
int __cdecl vsscanf(const char* text, const char* format, va_list args) {
    return __stdio_common_vsscanf(scanf_options, text, static_cast<size_t>(-1), format, nullptr, args);
}

#define FORWARD(call)      \
    va_list args;          \
    va_start(args, format); \
    int result = call;     \
    va_end(args);          \
    return result
int __cdecl printf(const char* format, ...) { FORWARD(vprintf(format, args)); }
int __cdecl fprintf(FILE* file, const char* format, ...) { FORWARD(vfprintf(file, format, args)); }
int __cdecl sprintf(char* buffer, const char* format, ...) { FORWARD(vsprintf(buffer, format, args)); }
int __cdecl snprintf(char* buffer, size_t count, const char* format, ...) {
    FORWARD(vsnprintf(buffer, count, format, args));
}
int __cdecl _snprintf(char* buffer, size_t count, const char* format, ...) {
    FORWARD(_vsnprintf(buffer, count, format, args));
}
int __cdecl _scprintf(const char* format, ...) { FORWARD(_vscprintf(format, args)); }
int __cdecl _snwprintf(wchar_t* buffer, size_t count, const wchar_t* format, ...) {
    FORWARD(_vsnwprintf(buffer, count, format, args));
}
int __cdecl fwprintf(FILE* file, const wchar_t* format, ...) { FORWARD(vfwprintf(file, format, args)); }
int __cdecl scanf(const char* format, ...) { FORWARD(vscanf(format, args)); }
int __cdecl fscanf(FILE* file, const char* format, ...) { FORWARD(vfscanf(file, format, args)); }
int __cdecl sscanf(const char* text, const char* format, ...) { FORWARD(vsscanf(text, format, args)); }
}
