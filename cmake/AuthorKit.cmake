# The plugin author's kit: `cmake --install <build> --component AuthorKit --prefix <dir>` gives a
# CMake package, found with find_package(QuestVeto CONFIG), whose target QuestVeto::Client carries
# what a plugin that asks QuestVeto compiles and links against: QuestVetoClient.h and the host
# headers (one include root), the engine string's library (questveto-host-bridge), the host
# library, C++17, and on Windows the static runtime the host's plugins are linked with.
#   <prefix>/include/questveto/QuestVetoClient.h, host/*.h
#   <prefix>/lib/libquestveto-host-bridge.a, the host library to link (Windows: its import library)
#   <prefix>/lib/cmake/QuestVeto/QuestVetoConfig.cmake, QuestVetoConfigVersion.cmake

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
install(FILES ${PROJECT_SOURCE_DIR}/host/Color.h ${PROJECT_SOURCE_DIR}/host/FString.h
              ${PROJECT_SOURCE_DIR}/host/GameTypes.h ${PROJECT_SOURCE_DIR}/host/HostApi.h
              ${PROJECT_SOURCE_DIR}/host/Platform.h
        DESTINATION ${QV_KIT_INCLUDE}/host COMPONENT AuthorKit EXCLUDE_FROM_ALL)
install(FILES $<TARGET_FILE:questveto-host-bridge> $<TARGET_LINKER_FILE:version>
        DESTINATION lib COMPONENT AuthorKit EXCLUDE_FROM_ALL)
if(WIN32)
  # The bridge's debug records name the build machine's directories (its compile commands):
  # the kit's copy goes without them.
  find_program(QV_LLVM_STRIP NAMES llvm-strip-19 REQUIRED)
  install(CODE "execute_process(COMMAND ${QV_LLVM_STRIP} --strip-debug
                  \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/lib/$<TARGET_FILE_NAME:questveto-host-bridge>\"
                  COMMAND_ERROR_IS_FATAL ANY)"
          COMPONENT AuthorKit EXCLUDE_FROM_ALL)
  # QuestVeto.dll's import library, for an author who links its two exported functions directly
  # (a Visual Studio project, say) rather than looking them up through QuestVetoClient.h.
  install(FILES $<TARGET_LINKER_FILE:QuestVeto> DESTINATION lib COMPONENT AuthorKit
          EXCLUDE_FROM_ALL)
endif()

# What the package's target links besides the two libraries, per build.
set(QV_KIT_BRIDGE_FILE $<TARGET_FILE_NAME:questveto-host-bridge>)
set(QV_KIT_HOST_FILE $<TARGET_LINKER_FILE_NAME:version>)
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
