# The release archive of the Windows build: unpacked into a server directory it adds the plugin's
# folder, HostApi/Plugins/QuestVeto, holding the stripped DLL, the sample config.json and the
# install notes, and nothing else. A SHA-256 file is written beside the archive.
#   cmake --build --preset windows --target package
#     -> QuestVeto-<version>-win64.zip and QuestVeto-<version>-win64.zip.sha256

include_guard(GLOBAL)

set(QV_PLUGIN_FOLDER HostApi/Plugins/QuestVeto)
configure_file(${PROJECT_SOURCE_DIR}/package/INSTALL.txt ${PROJECT_BINARY_DIR}/package/INSTALL.txt
               @ONLY)

install(TARGETS QuestVeto RUNTIME DESTINATION ${QV_PLUGIN_FOLDER})
install(FILES ${PROJECT_SOURCE_DIR}/config/config.json ${PROJECT_BINARY_DIR}/package/INSTALL.txt
        DESTINATION ${QV_PLUGIN_FOLDER})

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME QuestVeto)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME QuestVeto-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CHECKSUM SHA256)
include(CPack)
