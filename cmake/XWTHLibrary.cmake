# xwth_shared_library(NAME SOURCES ...)
# One shared library with hidden visibility: only what carries its export
# macro is visible. The macro expands to dllexport while the library itself
# is built (NAME_BUILDING is defined) and to dllimport for its clients.
function(xwth_shared_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
  add_library(${name} SHARED ${ARG_SOURCES})
  string(TOUPPER ${name} upper)
  target_compile_definitions(${name} PRIVATE ${upper}_BUILDING)
  set_target_properties(${name} PROPERTIES PREFIX "lib")
  if(WIN32)
    set_target_properties(${name} PROPERTIES PREFIX "")
  endif()
  set_target_properties(${name} PROPERTIES EXPORT_NAME ${name})
  add_library(XWTH::${name} ALIAS ${name})
endfunction()

# Collects the sources of a folder tree; new files are picked up on the next
# build without touching a CMakeLists.txt.
function(xwth_glob_sources out)
  file(GLOB_RECURSE files CONFIGURE_DEPENDS ${ARGN})
  set(${out} ${files} PARENT_SCOPE)
endfunction()
