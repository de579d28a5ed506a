# CMake toolchain file: Windows x64 modules for the MSVC C++ ABI, built on Debian with clang-19
# for x86_64-pc-windows-msvc and lld-link: the MSVC toolset's open-source C++ library (its headers,
# msvcp140.dll at run time), the dynamic Universal CRT and vcruntime140.dll, as a /MD build of
# Visual Studio links them. Nothing comes from Visual Studio or the Windows SDK: the C and Windows
# headers are mingw-w64's in UCRT mode, the compiler runtime's few headers are stand-ins
# (crt/include), and crt/ builds the start-up code every module links and the import libraries.
#
# Debian packages: clang-19 lld-19 llvm-19 mingw-w64-x86-64-dev wine64 (scripts/setup.sh).
# The C++ library (tag vs-2022-17.14) is found in QV_MSVC_STL_DIR (a CMake or environment
# variable), in the repository by default in build/msvc-stl, where scripts/setup.sh puts it.
#
#   cmake -S . -B build-msvc --toolchain cmake/clang-msvc-x86_64.cmake
#
# The author kit carries this file in <kit>/lib/cmake/QuestVeto, beside the kit's CMake package;
# there it takes the runtime prebuilt from the kit (the header stand-ins in <kit>/include/crt, the
# runtime's static and import libraries in <kit>/lib/crt, which every module then links as a /MD
# build links its runtime) and finds the kit's package by itself:
#
#   cmake -S . -B build --toolchain <kit>/lib/cmake/QuestVeto/clang-msvc-x86_64.cmake
#         -DQV_MSVC_STL_DIR=<the C++ library>
#
# CMAKE_CROSSCOMPILING_EMULATOR is Wine's 64-bit loader, so tests run the .exe files under Wine
# (see scripts/wine-prefix.sh for the environment they need).

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

# Where this file lies decides where the runtime pieces are: beside the kit's package in the
# author kit, crt/ beside cmake/ in the repository (whose build makes them).
get_filename_component(_qv_kit "${CMAKE_CURRENT_LIST_DIR}/../../.." ABSOLUTE)
if(EXISTS "${CMAKE_CURRENT_LIST_DIR}/QuestVetoConfig.cmake")
  set(QV_MSVC_CRT_INCLUDE_DIR "${_qv_kit}/include/crt")
  set(_qv_in_kit TRUE)
else()
  set(QV_MSVC_CRT_INCLUDE_DIR "${CMAKE_CURRENT_LIST_DIR}/../crt/include")
  set(_qv_in_kit FALSE)
endif()
get_filename_component(QV_MSVC_CRT_INCLUDE_DIR "${QV_MSVC_CRT_INCLUDE_DIR}" ABSOLUTE)

if(NOT QV_MSVC_STL_DIR)
  if(DEFINED ENV{QV_MSVC_STL_DIR})
    set(QV_MSVC_STL_DIR "$ENV{QV_MSVC_STL_DIR}")
  elseif(NOT _qv_in_kit)
    set(QV_MSVC_STL_DIR "${CMAKE_CURRENT_LIST_DIR}/../build/msvc-stl")
  endif()
endif()
if(QV_MSVC_STL_DIR)
  get_filename_component(QV_MSVC_STL_DIR "${QV_MSVC_STL_DIR}" ABSOLUTE)
endif()
set(QV_MSVC_STL_DIR "${QV_MSVC_STL_DIR}" CACHE PATH "The MSVC toolset's C++ library (tag vs-2022-17.14)")
if(NOT EXISTS "${QV_MSVC_STL_DIR}/stl/inc/yvals_core.h")
  message(FATAL_ERROR "The MSVC C++ library is not in '${QV_MSVC_STL_DIR}' (no stl/inc/yvals_core.h): "
                      "set QV_MSVC_STL_DIR (a CMake or environment variable) to a copy of its tag "
                      "vs-2022-17.14 (github.com/microsoft/STL), or in the repository run "
                      "scripts/setup.sh")
endif()
# try_compile projects see the same values.
set(ENV{QV_MSVC_STL_DIR} "${QV_MSVC_STL_DIR}")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QV_MSVC_STL_DIR QV_MSVC_CRT_INCLUDE_DIR)

find_program(CMAKE_CXX_COMPILER NAMES clang++-19 REQUIRED)
find_program(CMAKE_C_COMPILER NAMES clang-19 REQUIRED)
set(CMAKE_CXX_COMPILER_TARGET x86_64-pc-windows-msvc)
set(CMAKE_C_COMPILER_TARGET x86_64-pc-windows-msvc)
find_program(QV_LLD_LINK NAMES lld-link-19 REQUIRED)  # from lld-19, which clang links with
find_program(CMAKE_AR NAMES llvm-ar-19 REQUIRED)
find_program(CMAKE_RANLIB NAMES llvm-ranlib-19 REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES llvm-rc-19 REQUIRED)
find_program(CMAKE_OBJDUMP NAMES llvm-objdump-19 REQUIRED)
find_program(CMAKE_NM NAMES llvm-nm-19 REQUIRED)

execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-resource-dir
                OUTPUT_VARIABLE _qv_clang_resources OUTPUT_STRIP_TRAILING_WHITESPACE)
# Only these header trees: the stand-ins first (they wrap some of mingw-w64's), the C++ library,
# the compiler's own (intrinsics), mingw-w64's C and Windows headers. Everything else comes from a
# project's own include directories.
set(_qv_includes "-nostdinc -isystem ${QV_MSVC_CRT_INCLUDE_DIR} -isystem ${QV_MSVC_STL_DIR}/stl/inc"
                 "-isystem ${_qv_clang_resources}/include -isystem /usr/share/mingw-w64/include")
string(JOIN " " _qv_includes ${_qv_includes})
# -fgnuc-version: mingw-w64's headers need __GNUC__ (without it they define __attribute__ away),
#   and with it clang would also define __EXCEPTIONS, which libraries (fmt) test: defined here.
# _UCRT, __MSVCRT_VERSION__: mingw-w64's headers in their Universal CRT mode.
# _USE_STD_VECTOR_ALGORITHMS=0: the library's vectorised algorithms live in its static part,
#   built without them here.
# _DISABLE_CONSTEXPR_MUTEX_CONSTRUCTOR: std::mutex initialised through msvcp140 at construction,
#   which every msvcp140.dll since 2015 does, rather than constant-initialised, which needs one
#   from 2024 on.
# -fstack-protector-strong: the stack cookies of /GS.
set(_qv_flags "-fms-compatibility-version=19.44 -fgnuc-version=4.2.1 -D__EXCEPTIONS=1"
              "-D_UCRT -D__MSVCRT_VERSION__=0xE00 -DUSE_NO_MINGW_SETJMP_TWO_ARGS"
              "-D_USE_STD_VECTOR_ALGORITHMS=0 -D_DISABLE_CONSTEXPR_MUTEX_CONSTRUCTOR"
              "-fstack-protector-strong")
string(JOIN " " _qv_flags ${_qv_flags})
set(CMAKE_CXX_FLAGS_INIT "${_qv_flags} ${_qv_includes}")
set(CMAKE_C_FLAGS_INIT "${_qv_flags} ${_qv_includes}")
# Resource scripts are preprocessed with the compiler and mingw-w64's headers (winver.h).
set(CMAKE_RC_FLAGS_INIT "-I /usr/share/mingw-w64/include")
# Modules link only what they name (no default libraries: crt/ provides the runtime and the
# import libraries), with lld-link, which clang finds beside itself (llvm-19's, not an older one
# on the PATH).
set(_qv_link "-Xlinker /nodefaultlib")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${_qv_link}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${_qv_link}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${_qv_link}")
unset(_qv_link)
unset(_qv_flags)
unset(_qv_includes)
unset(_qv_clang_resources)
if(_qv_in_kit)
  # Every module links the kit's runtime, as a /MD build links its runtime without being asked;
  # and find_package(QuestVeto) finds the kit this file lies in, which a cross build's search of
  # its target root alone would not.
  file(GLOB _qv_runtime "${_qv_kit}/lib/crt/*.lib")
  if(NOT _qv_runtime)
    message(FATAL_ERROR "The author kit's module runtime is missing: no ${_qv_kit}/lib/crt/*.lib")
  endif()
  list(TRANSFORM _qv_runtime PREPEND "\"")
  list(TRANSFORM _qv_runtime APPEND "\"")
  string(JOIN " " _qv_runtime ${_qv_runtime})
  set(CMAKE_CXX_STANDARD_LIBRARIES "${_qv_runtime}" CACHE STRING "The module runtime every module links")
  set(CMAKE_C_STANDARD_LIBRARIES "${_qv_runtime}" CACHE STRING "The module runtime every module links")
  set(QuestVeto_DIR "${CMAKE_CURRENT_LIST_DIR}" CACHE PATH "The author kit's CMake package")
  unset(_qv_runtime)
endif()
# The compiler checks compile only: in the repository they cannot link a program before crt/ has
# built the runtime.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
unset(_qv_in_kit)
unset(_qv_kit)

set(CMAKE_FIND_ROOT_PATH /nonexistent)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(QV_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_CACHE)
  if(NOT QV_WINE64)
    find_program(QV_WINE64 NAMES wine NO_CACHE)
  endif()
  if(QV_WINE64)
    set(CMAKE_CROSSCOMPILING_EMULATOR "${QV_WINE64}" CACHE FILEPATH
        "Runs Windows executables built by this toolchain")
  endif()
endif()
