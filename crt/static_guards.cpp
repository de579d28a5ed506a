// Guards of function-local statics: the compiler's thread-safe initialisation protocol, whose
// helpers the real runtime links statically into each module.
//
// A guard word is 0 before initialisation and -1 while a thread runs the initialiser; afterwards
// it holds the value of a global epoch counter. The compiler's fast path compares the guard with
// the calling thread's _Init_thread_epoch and calls _Init_thread_header only when the guard is
// newer; a thread that finds an initialisation in progress waits for it. An initialiser that
// throws calls _Init_thread_abort, and the next caller tries again.
#include <limits.h>
#include <windows.h>

namespace {
SRWLOCK guardLock = SRWLOCK_INIT;
CONDITION_VARIABLE guardChanged = CONDITION_VARIABLE_INIT;
constexpr int kUninitialized = 0;
constexpr int kBeingInitialized = -1;
}  // namespace

extern "C" {
int _Init_global_epoch = INT_MIN;
__declspec(thread) int _Init_thread_epoch = INT_MIN;

void __cdecl _Init_thread_header(int* guard) noexcept {
  AcquireSRWLockExclusive(&guardLock);
  for (;;) {
    if (*guard == kUninitialized) {
      *guard = kBeingInitialized;  // this thread initialises
      break;
    }
    if (*guard != kBeingInitialized) {
      _Init_thread_epoch = _Init_global_epoch;  // another thread finished meanwhile
      break;
    }
    SleepConditionVariableSRW(&guardChanged, &guardLock, INFINITE, 0);
  }
  ReleaseSRWLockExclusive(&guardLock);
}

void __cdecl _Init_thread_footer(int* guard) noexcept {
  AcquireSRWLockExclusive(&guardLock);
  ++_Init_global_epoch;
  *guard = _Init_global_epoch;
  _Init_thread_epoch = _Init_global_epoch;
  ReleaseSRWLockExclusive(&guardLock);
  WakeAllConditionVariable(&guardChanged);
}

void __cdecl _Init_thread_abort(int* guard) noexcept {
  AcquireSRWLockExclusive(&guardLock);
  *guard = kUninitialized;
  ReleaseSRWLockExclusive(&guardLock);
  WakeAllConditionVariable(&guardChanged);
}
}
