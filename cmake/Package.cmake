# The release archive of the Windows build: unpacked into a server directory it adds the plugin's
# folder, HostApi/Plugins/QuestVeto, holding the stripped DLL, the config checker, the RCON
# command line (questveto-rcon), the sample configuration (config.sample.json: the archive never
# holds a config.json, so unpacking a release over an install leaves the operator's file alone),
# the install notes and the licence, and nothing else. A SHA-256 file is written beside the archive.
#   cmake --build --preset windows --target package
#     -> QuestVeto-<version>-win64.zip and QuestVeto-<version>-win64.zip.sha256, and beside them
#        the author kit QuestVeto-<version>-win64-author-kit.zip with its .sha256

include_guard(GLOBAL)

# INSTALL.txt names what the DLL imports from the host and the library versions it was built
# with, read from the DLL and from the header trees it was compiled against.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(QV_INSTALL_NOTES ${PROJECT_BINARY_DIR}/package/INSTALL.txt)
add_custom_command(OUTPUT ${QV_INSTALL_NOTES}
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/package/install_notes.py
          --template ${PROJECT_SOURCE_DIR}/package/INSTALL.txt.in --dll $<TARGET_FILE:QuestVeto>
          --objdump ${CMAKE_OBJDUMP} --include-dir ${CROSS_INCLUDE_DIR}
          --version ${PROJECT_VERSION}
          --symbols-tool ${PROJECT_SOURCE_DIR}/scripts/library_symbols.py --out ${QV_INSTALL_NOTES}
  DEPENDS QuestVeto ${PROJECT_SOURCE_DIR}/package/INSTALL.txt.in
          ${PROJECT_SOURCE_DIR}/package/install_notes.py
  COMMENT "Writing the install notes from the built DLL")
add_custom_target(install_notes ALL DEPENDS ${QV_INSTALL_NOTES})

install(TARGETS QuestVeto questveto-config-check questveto-rcon RUNTIME
        DESTINATION ${QV_PLUGIN_FOLDER})
# The text files with Windows line ends, as the notes have them: older Notepad shows a file
# without them as one long line.
set(QV_CRLF_DIR ${PROJECT_BINARY_DIR}/package/crlf)
foreach(text IN ITEMS package/config.sample.json LICENSE)
  get_filename_component(name ${text} NAME)
  file(READ ${PROJECT_SOURCE_DIR}/${text} content)
  string(REPLACE "\r\n" "\n" content "${content}")
  string(REPLACE "\n" "\r\n" content "${content}")
  file(WRITE ${QV_CRLF_DIR}/${name} "${content}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${text})
endforeach()
install(FILES ${QV_CRLF_DIR}/config.sample.json ${QV_INSTALL_NOTES}
        DESTINATION ${QV_PLUGIN_FOLDER})
install(FILES ${QV_CRLF_DIR}/LICENSE DESTINATION ${QV_PLUGIN_FOLDER} RENAME LICENSE.txt)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME QuestVeto)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME QuestVeto-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CHECKSUM SHA256)
# The plugin author's kit (AuthorKit.cmake) as a second archive beside the operator's.
set(QV_KIT_ARCHIVE QuestVeto-${PROJECT_VERSION}-win64-author-kit.zip)
configure_file(${PROJECT_SOURCE_DIR}/cmake/AuthorKitArchive.cmake.in
               ${PROJECT_BINARY_DIR}/author-kit/AuthorKitArchive.cmake @ONLY)
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_BINARY_DIR}/author-kit/AuthorKitArchive.cmake)
include(CPack)
