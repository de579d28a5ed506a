# The host's import library (version.lib) from an object that refers to its functions
# (host-bridge/HostImports.cpp): each __imp_ reference of the object becomes an export of version.dll in
# a .def file, which llvm-dlltool turns into the import library.
#   cmake -DOBJECT=<obj> -DNM=<llvm-nm> -DDLLTOOL=<llvm-dlltool> -DLIBRARY=<version.lib>
#         -P HostImportLibrary.cmake
foreach(variable IN ITEMS OBJECT NM DLLTOOL LIBRARY)
  if(NOT ${variable})
    message(FATAL_ERROR "HostImportLibrary.cmake: -D${variable}=... is missing")
  endif()
endforeach()
execute_process(COMMAND "${NM}" --undefined-only --just-symbol-name "${OBJECT}"
                OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "__imp_[^\r\n]+" imports "${symbols}")
if(NOT imports)
  message(FATAL_ERROR "HostImportLibrary.cmake: ${OBJECT} refers to no imported function")
endif()
list(TRANSFORM imports REPLACE "^__imp_" "    ")
list(SORT imports)
list(JOIN imports "\n" exports)
get_filename_component(stem "${LIBRARY}" NAME_WE)
set(def "${LIBRARY}.def")
file(WRITE "${def}" "LIBRARY ${stem}.dll\nEXPORTS\n${exports}\n")
execute_process(COMMAND "${DLLTOOL}" -m i386:x86-64 -d "${def}" -l "${LIBRARY}"
                COMMAND_ERROR_IS_FATAL ANY)
