# CMake toolchain file: cross-compile for Windows x64 with MinGW-w64 (posix
# thread model) on Debian, and run the resulting executables under Wine.
#
# Debian packages: g++-mingw-w64-x86-64-posix wine64 (pulls in wine)
#
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#
# Everything is linked statically against libgcc, libstdc++ and winpthread so
# the produced DLLs/EXEs depend only on system DLLs (KERNEL32, msvcrt, ...) and
# on our own DLLs; nothing has to be copied next to them for Wine to run them.
#
# CMAKE_CROSSCOMPILING_EMULATOR is the Wine 64-bit loader, so add_test() with
# an executable target and gtest_discover_tests() run the .exe through Wine.
# Tests still need WINEPREFIX (see scripts/wine-prefix.sh), WINEDEBUG=-all,
# DISPLAY= and WINEDLLOVERRIDES=version=n,b in their environment (ctest
# ENVIRONMENT property); the toolchain file sets no environment variables.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLE x86_64-w64-mingw32)

# The "-posix" variants use the winpthreads thread model: std::thread,
# std::mutex and std::condition_variable work. The "-win32" variants of GCC 12
# do not provide them.
find_program(CMAKE_C_COMPILER   NAMES ${MINGW_TRIPLE}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${MINGW_TRIPLE}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER  NAMES ${MINGW_TRIPLE}-windres)
find_program(CMAKE_AR           NAMES ${MINGW_TRIPLE}-gcc-ar-posix ${MINGW_TRIPLE}-ar)
find_program(CMAKE_RANLIB       NAMES ${MINGW_TRIPLE}-gcc-ranlib-posix ${MINGW_TRIPLE}-ranlib)
find_program(CMAKE_OBJDUMP      NAMES ${MINGW_TRIPLE}-objdump)
find_program(CMAKE_STRIP        NAMES ${MINGW_TRIPLE}-strip)

# Only the MinGW sysroot is searched for headers/libraries/packages; host
# programs (python3, wine, ...) are still found on the host.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static runtime: -static makes ld pick libwinpthread.a instead of the
# libwinpthread.dll.a import library (and likewise for anything else linked by
# -l name); system import libraries (libkernel32.a, ...) are unaffected.
set(_mingw_static_link "-static-libgcc -static-libstdc++ -static")
set(CMAKE_EXE_LINKER_FLAGS_INIT    "${_mingw_static_link}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${_mingw_static_link}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${_mingw_static_link}")
unset(_mingw_static_link)

# Wine's 64-bit loader. On Debian 12 there is no "wine64" on PATH: the wine64
# package installs /usr/lib/wine/wine64, and /usr/bin/wine is a shell wrapper
# that execs it (and nags about wine32 unless WINEDEBUG=-all).
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(MINGW_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_CACHE)
  if(NOT MINGW_WINE64)
    find_program(MINGW_WINE64 NAMES wine NO_CACHE)
  endif()
  if(MINGW_WINE64)
    set(CMAKE_CROSSCOMPILING_EMULATOR "${MINGW_WINE64}" CACHE FILEPATH
        "Runs Windows executables built by this toolchain")
  endif()
endif()
