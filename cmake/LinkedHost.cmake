# On Windows the host bridge and the plugin's rules reach the host through version.dll's imports
# (the __imp_ pointers a DLL import provides). A program that carries a small host inside instead,
# the config checker, needs the same code calling that host directly.
#
# qv_linked_host_copy(<library>) defines <library>-linked-host: on Windows the static <library>'s
# own sources compiled again with QV_HOST_LINKED_IN, with its include directories and libraries,
# each library that has such a copy replaced by it; elsewhere, where a call into a shared library
# and one into the program look alike, an alias of <library> itself.
function(qv_linked_host_copy library)
  set(copy ${library}-linked-host)
  if(NOT WIN32)
    add_library(${copy} ALIAS ${library})
    return()
  endif()
  get_target_property(sources ${library} SOURCES)
  get_target_property(includes ${library} INTERFACE_INCLUDE_DIRECTORIES)
  get_target_property(links ${library} INTERFACE_LINK_LIBRARIES)
  add_library(${copy} STATIC ${sources})
  target_compile_definitions(${copy} PUBLIC QV_HOST_LINKED_IN)
  if(includes)
    target_include_directories(${copy} PUBLIC ${includes})
  endif()
  foreach(link IN LISTS links)
    if(TARGET ${link}-linked-host)
      set(link ${link}-linked-host)
    endif()
    target_link_libraries(${copy} PUBLIC ${link})
  endforeach()
endfunction()
