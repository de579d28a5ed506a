# Helpers for the MinGW cross build.
#
# cross_header_targets()
#   Stages the Debian header trees of nlohmann-json3-dev, libfmt-dev,
#   libspdlog-dev, libasio-dev and libcli11-dev as symlinks under
#   ${CMAKE_BINARY_DIR}/cross-include and defines the same imported target
#   names the native find_package() calls give, so one CMakeLists.txt serves
#   both builds:
#     nlohmann_json::nlohmann_json
#     fmt::fmt-header-only        (FMT_HEADER_ONLY=1)
#     spdlog::spdlog_header_only  (SPDLOG_FMT_EXTERNAL, links fmt::fmt-header-only)
#     CLI11::CLI11
#   and asio::asio (standalone Asio with the Winsock libraries; natively Asio
#   needs no target, its headers are on the system include path).
#   /usr/include itself never lands on the cross include path: only the
#   staging directory does, and it contains just those trees.
#
# cross_googletest([SOURCE_DIR dir])
#   Builds googletest/googlemock from /usr/src/googletest (Debian package
#   googletest) with the current compiler and provides GTest::gtest,
#   GTest::gtest_main, GTest::gmock and GTest::gmock_main.
#
# Typical use:
#   if(CMAKE_CROSSCOMPILING)
#     include(CrossHeaders)
#     cross_header_targets()
#     cross_googletest()
#   else()
#     find_package(nlohmann_json REQUIRED)
#     find_package(fmt REQUIRED)
#     find_package(spdlog REQUIRED)
#     find_package(GTest REQUIRED)
#   endif()

include_guard(GLOBAL)

function(cross_header_targets)
  set(options)
  set(one_value INCLUDE_ROOT STAGING_DIR)
  cmake_parse_arguments(ARG "${options}" "${one_value}" "" ${ARGN})
  if(NOT ARG_INCLUDE_ROOT)
    set(ARG_INCLUDE_ROOT /usr/include)
  endif()
  if(NOT ARG_STAGING_DIR)
    set(ARG_STAGING_DIR "${CMAKE_BINARY_DIR}/cross-include")
  endif()

  # Marker header of each tree, so a missing -dev package fails at configure.
  # asio.hpp is a file beside its tree; staged the same way.
  set(_trees nlohmann fmt spdlog asio asio.hpp CLI)
  set(_marker_nlohmann json.hpp)
  set(_marker_fmt format-inl.h)
  set(_marker_spdlog spdlog-inl.h)
  set(_marker_asio version.hpp)
  set(_marker_CLI CLI.hpp)
  set(_pkg_nlohmann nlohmann-json3-dev)
  set(_pkg_fmt libfmt-dev)
  set(_pkg_spdlog libspdlog-dev)
  set(_pkg_asio libasio-dev)
  set(_pkg_asio.hpp libasio-dev)
  set(_pkg_CLI libcli11-dev)

  file(MAKE_DIRECTORY "${ARG_STAGING_DIR}")
  foreach(_tree IN LISTS _trees)
    set(_src "${ARG_INCLUDE_ROOT}/${_tree}")
    if(DEFINED _marker_${_tree})
      set(_marker "${_src}/${_marker_${_tree}}")
    else()
      set(_marker "${_src}")
    endif()
    if(NOT EXISTS "${_marker}")
      message(FATAL_ERROR
        "cross_header_targets: ${_marker} not found; "
        "install the Debian package ${_pkg_${_tree}}")
    endif()
    set(_link "${ARG_STAGING_DIR}/${_tree}")
    if(IS_SYMLINK "${_link}")
      file(READ_SYMLINK "${_link}" _current)
      if(NOT _current STREQUAL _src)
        file(REMOVE "${_link}")
      endif()
    elseif(EXISTS "${_link}")
      message(FATAL_ERROR "cross_header_targets: ${_link} exists and is not a symlink")
    endif()
    if(NOT EXISTS "${_link}")
      file(CREATE_LINK "${_src}" "${_link}" SYMBOLIC)
    endif()
  endforeach()

  if(NOT TARGET nlohmann_json::nlohmann_json)
    add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
    set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
      INTERFACE_INCLUDE_DIRECTORIES "${ARG_STAGING_DIR}")
  endif()

  if(NOT TARGET fmt::fmt-header-only)
    add_library(fmt::fmt-header-only INTERFACE IMPORTED GLOBAL)
    set_target_properties(fmt::fmt-header-only PROPERTIES
      INTERFACE_INCLUDE_DIRECTORIES "${ARG_STAGING_DIR}"
      INTERFACE_COMPILE_DEFINITIONS "FMT_HEADER_ONLY=1")
  endif()

  if(NOT TARGET spdlog::spdlog_header_only)
    # spdlog is header-only unless SPDLOG_COMPILED_LIB is defined; do not
    # define SPDLOG_HEADER_ONLY here, spdlog/common.h #defines it itself and a
    # -D on the command line would trigger "redefined" warnings.
    find_package(Threads REQUIRED)
    add_library(spdlog::spdlog_header_only INTERFACE IMPORTED GLOBAL)
    set_target_properties(spdlog::spdlog_header_only PROPERTIES
      INTERFACE_INCLUDE_DIRECTORIES "${ARG_STAGING_DIR}"
      INTERFACE_COMPILE_DEFINITIONS "SPDLOG_FMT_EXTERNAL"
      INTERFACE_LINK_LIBRARIES "fmt::fmt-header-only;Threads::Threads")
  endif()

  if(NOT TARGET CLI11::CLI11)
    add_library(CLI11::CLI11 INTERFACE IMPORTED GLOBAL)
    set_target_properties(CLI11::CLI11 PROPERTIES
      INTERFACE_INCLUDE_DIRECTORIES "${ARG_STAGING_DIR}")
  endif()

  if(NOT TARGET asio::asio)
    # Windows 10 as the oldest target: Asio then uses the current socket APIs.
    add_library(asio::asio INTERFACE IMPORTED GLOBAL)
    # std::future is left out: the MSVC library's needs the concurrency runtime's headers.
    set_target_properties(asio::asio PROPERTIES
      INTERFACE_INCLUDE_DIRECTORIES "${ARG_STAGING_DIR}"
      INTERFACE_COMPILE_DEFINITIONS "_WIN32_WINNT=0x0A00;ASIO_DISABLE_STD_FUTURE"
      INTERFACE_LINK_LIBRARIES "ws2_32;mswsock")
  endif()

  set(CROSS_INCLUDE_DIR "${ARG_STAGING_DIR}" PARENT_SCOPE)
endfunction()

function(cross_googletest)
  set(one_value SOURCE_DIR BINARY_DIR)
  cmake_parse_arguments(ARG "" "${one_value}" "" ${ARGN})
  if(NOT ARG_SOURCE_DIR)
    set(ARG_SOURCE_DIR /usr/src/googletest)
  endif()
  if(NOT ARG_BINARY_DIR)
    set(ARG_BINARY_DIR "${CMAKE_BINARY_DIR}/_googletest")
  endif()
  if(TARGET GTest::gtest)
    return()
  endif()
  if(NOT EXISTS "${ARG_SOURCE_DIR}/CMakeLists.txt")
    message(FATAL_ERROR
      "cross_googletest: ${ARG_SOURCE_DIR}/CMakeLists.txt not found; "
      "install the Debian package googletest")
  endif()

  # Cache overrides for googletest's own options (set before add_subdirectory).
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  # Windows threads, not the pthreads whose header mingw-w64 also has.
  set(gtest_disable_pthreads ${WIN32} CACHE BOOL "" FORCE)
  # Static gtest libraries regardless of a project-wide BUILD_SHARED_LIBS.
  set(BUILD_SHARED_LIBS OFF)
  add_subdirectory("${ARG_SOURCE_DIR}" "${ARG_BINARY_DIR}" EXCLUDE_FROM_ALL SYSTEM)

  # googletest >= 1.11 creates the GTest:: aliases itself; older ones do not.
  foreach(_t gtest gtest_main gmock gmock_main)
    if(TARGET ${_t} AND NOT TARGET GTest::${_t})
      add_library(GTest::${_t} ALIAS ${_t})
    endif()
  endforeach()
endfunction()
