// Stack-buffer overrun detection (-fstack-protector-strong, the counterpart of /GS). The compiler
// stores __security_cookie xor the frame address in each frame with arrays and has
// __security_check_cookie compare it before the function returns. As in the real runtime, the
// cookie gets a value of its own for each process at start-up, before any code that could check
// it runs, and a mismatch ends the process at once with fast-fail code 2: no handler may run on a
// smashed stack.
#include <intrin.h>
#include <stdint.h>
#include <windows.h>

extern "C" {
namespace {
constexpr uintptr_t kDefaultCookie = 0x00002B992DDFA232ull;
}
uintptr_t __security_cookie = kDefaultCookie;
uintptr_t __security_cookie_complement = ~kDefaultCookie;

void __cdecl __security_init_cookie(void) {
  if (__security_cookie != kDefaultCookie) return;
  FILETIME time{};
  LARGE_INTEGER counter{};
  GetSystemTimeAsFileTime(&time);
  QueryPerformanceCounter(&counter);
  uintptr_t cookie = (static_cast<uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime) ^
                     (static_cast<uint64_t>(counter.QuadPart) << 32) ^
                     static_cast<uint64_t>(counter.QuadPart) ^ GetCurrentThreadId() ^
                     (static_cast<uint64_t>(GetCurrentProcessId()) << 16) ^
                     reinterpret_cast<uintptr_t>(&cookie);
  cookie &= 0x0000FFFFFFFFFFFFull;  // the top 16 bits stay zero, as in the default
  if (cookie == kDefaultCookie || cookie == 0) cookie = kDefaultCookie + 1;
  __security_cookie = cookie;
  __security_cookie_complement = ~cookie;
}

void __cdecl __security_check_cookie(uintptr_t cookie) {
  if (cookie != __security_cookie) __fastfail(2);  // FAST_FAIL_STACK_COOKIE_CHECK_FAILURE
}
}
