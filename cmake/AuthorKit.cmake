# The plugin author's kit: `cmake --install <build> --component AuthorKit --prefix <dir>` gives a
# CMake package, found with find_package(QuestVeto CONFIG), whose target QuestVeto::Client carries
# what a plugin that asks QuestVeto compiles and links against: QuestVetoClient.h and the host
# headers (one include root), the engine string's library (questveto-host-bridge), the host
# library and C++17.
#   <prefix>/include/questveto/QuestVetoClient.h, host-bridge/*.h
#   <prefix>/lib/libquestveto-host-bridge.a, the host library to link (Windows: its import library)
#   <prefix>/lib/cmake/QuestVeto/QuestVetoConfig.cmake, QuestVetoConfigVersion.cmake
# The Windows kit also carries what a plugin built outside the repository with clang needs of the
# module runtime, and QuestVeto.dll's import library:
#   <prefix>/lib/cmake/QuestVeto/clang-msvc-x86_64.cmake, the toolchain file
#   <prefix>/include/crt/*.h, the compiler runtime's header stand-ins
#   <prefix>/lib/crt/*.lib, the module runtime and the import libraries of the runtime DLLs
#   <prefix>/lib/QuestVeto.lib

include_guard(GLOBAL)
include(CMakePackageConfigHelpers)

# The kit's target inside this build, for the example plugin: QuestVetoClient.h on an include path
# of its own, as an author's copy would be.
add_library(questveto-client INTERFACE)
target_include_directories(questveto-client INTERFACE ${PROJECT_SOURCE_DIR}/plugin)
target_link_libraries(questveto-client INTERFACE questveto-host-bridge version ${CMAKE_DL_LIBS})
add_library(QuestVeto::Client ALIAS questveto-client)

set(QV_KIT_INCLUDE include/questveto)
set(QV_KIT_CMAKE lib/cmake/QuestVeto)

install(FILES ${PROJECT_SOURCE_DIR}/plugin/QuestVetoClient.h DESTINATION ${QV_KIT_INCLUDE}
        COMPONENT AuthorKit EXCLUDE_FROM_ALL)
# The host headers the client header and a plugin's own calls need, and the headers they include.
install(FILES ${PROJECT_SOURCE_DIR}/host-bridge/Color.h ${PROJECT_SOURCE_DIR}/host-bridge/FString.h
              ${PROJECT_SOURCE_DIR}/host-bridge/GameTypes.h ${PROJECT_SOURCE_DIR}/host-bridge/HostApi.h
              ${PROJECT_SOURCE_DIR}/host-bridge/Platform.h
        DESTINATION ${QV_KIT_INCLUDE}/host-bridge COMPONENT AuthorKit EXCLUDE_FROM_ALL)
if(WIN32)
  # The host's import library, made from host-bridge/HostApi.h's declarations: the real host
  # exports its functions under the names the header gives them, whatever the stand-in exports
  # besides.
  find_program(QV_LLVM_DLLTOOL NAMES llvm-dlltool-19 REQUIRED)
  add_library(questveto-host-imports OBJECT ${PROJECT_SOURCE_DIR}/host-bridge/HostImports.cpp)
  target_include_directories(questveto-host-imports PRIVATE ${PROJECT_SOURCE_DIR})
  set(QV_KIT_HOST_LIBRARY ${PROJECT_BINARY_DIR}/author-kit/version.lib)
  add_custom_command(OUTPUT ${QV_KIT_HOST_LIBRARY}
    COMMAND ${CMAKE_COMMAND} -DOBJECT=$<TARGET_OBJECTS:questveto-host-imports> -DNM=${CMAKE_NM}
            -DDLLTOOL=${QV_LLVM_DLLTOOL} -DLIBRARY=${QV_KIT_HOST_LIBRARY}
            -P ${PROJECT_SOURCE_DIR}/cmake/HostImportLibrary.cmake
    DEPENDS questveto-host-imports $<TARGET_OBJECTS:questveto-host-imports>
            ${PROJECT_SOURCE_DIR}/cmake/HostImportLibrary.cmake
    COMMENT "Making the host's import library from its declarations")
  add_custom_target(questveto-host-import-library ALL DEPENDS ${QV_KIT_HOST_LIBRARY})
  set(QV_KIT_HOST_FILE version.lib)
else()
  # No real server runs on Linux: the stand-in, which the sandbox loads, is the host there.
  set(QV_KIT_HOST_LIBRARY $<TARGET_LINKER_FILE:version>)
  set(QV_KIT_HOST_FILE $<TARGET_LINKER_FILE_NAME:version>)
endif()
install(FILES $<TARGET_FILE:questveto-host-bridge> ${QV_KIT_HOST_LIBRARY}
        DESTINATION lib COMPONENT AuthorKit EXCLUDE_FROM_ALL)
if(WIN32)
  # The module runtime prebuilt, and the toolchain file that finds it beside itself.
  install(TARGETS questveto-crt questveto-cxx-static ARCHIVE DESTINATION lib/crt
          COMPONENT AuthorKit EXCLUDE_FROM_ALL)
  install(FILES ${QV_IMPORT_LIBRARIES} DESTINATION lib/crt COMPONENT AuthorKit EXCLUDE_FROM_ALL)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/crt/include/ DESTINATION include/crt
          COMPONENT AuthorKit EXCLUDE_FROM_ALL PATTERN stlsrc EXCLUDE)
  install(FILES ${PROJECT_SOURCE_DIR}/cmake/clang-msvc-x86_64.cmake DESTINATION ${QV_KIT_CMAKE}
          COMPONENT AuthorKit EXCLUDE_FROM_ALL)
  # The static libraries' debug records name the build machine's directories (their compile
  # commands): the kit's copies go without them. Stripping renumbers the objects' symbols, which
  # leaves the address-significance tables (for identical code folding) pointing at the wrong
  # ones, and lld-link refuses such an object: those tables go too.
  find_program(QV_LLVM_STRIP NAMES llvm-strip-19 REQUIRED)
  foreach(library IN ITEMS $<TARGET_FILE_NAME:questveto-host-bridge>
                           crt/$<TARGET_FILE_NAME:questveto-crt>
                           crt/$<TARGET_FILE_NAME:questveto-cxx-static>)
    install(CODE "execute_process(COMMAND ${QV_LLVM_STRIP} --strip-debug
                    --remove-section=.llvm_addrsig
                    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/lib/${library}\"
                    COMMAND_ERROR_IS_FATAL ANY)"
            COMPONENT AuthorKit EXCLUDE_FROM_ALL)
  endforeach()
  # QuestVeto.dll's import library, for an author who links its two exported functions directly
  # (a Visual Studio project, say) rather than looking them up through QuestVetoClient.h.
  install(FILES $<TARGET_LINKER_FILE:QuestVeto> DESTINATION lib COMPONENT AuthorKit
          EXCLUDE_FROM_ALL)
endif()

# What the package's target links besides the two libraries, per build.
set(QV_KIT_BRIDGE_FILE $<TARGET_FILE_NAME:questveto-host-bridge>)
if(WIN32)
  # fmt is compiled into the bridge (header-only).
  set(QV_KIT_DEPENDENCIES "")
else()
  set(QV_KIT_DEPENDENCIES "fmt")
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/QuestVetoConfig.cmake.in
               ${PROJECT_BINARY_DIR}/author-kit/QuestVetoConfig.cmake.in @ONLY)
file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/author-kit/QuestVetoConfig.cmake
     INPUT ${PROJECT_BINARY_DIR}/author-kit/QuestVetoConfig.cmake.in)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/author-kit/QuestVetoConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/author-kit/QuestVetoConfig.cmake
              ${PROJECT_BINARY_DIR}/author-kit/QuestVetoConfigVersion.cmake
        DESTINATION ${QV_KIT_CMAKE} COMPONENT AuthorKit EXCLUDE_FROM_ALL)
