// The C runtime of Visual Studio has no unistd.h; mingw-w64's declares the POSIX names over the
// UCRT's functions, which serves, but it also announces POSIX threads (_POSIX_THREADS), which a
// module of this build does not have: libraries that test it (Asio) would call pthreads.
#pragma once
#include_next <unistd.h>
#undef _POSIX_THREADS
