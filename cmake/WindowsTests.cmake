# Test support of the Windows build: GoogleTest compiled from source with the
# project's own compiler, and test programs registered with CTest so that a
# cross build runs them under Wine.
#
# Included by tests/CMakeLists.txt when WIN32 is set.

# --- GoogleTest -------------------------------------------------------------
# A cross compiler cannot use the host's libgtest; Debian ships the sources in
# /usr/src/googletest (package googletest). They are built as static libraries
# with the same compiler and runtime flags as the project.
set(XWTH_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH
  "GoogleTest sources built for the Windows test programs")

if(NOT TARGET GTest::gtest_main AND EXISTS ${XWTH_GTEST_SOURCE_DIR}/CMakeLists.txt)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(BUILD_SHARED_LIBS OFF)
  add_subdirectory(${XWTH_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/_deps/googletest
    EXCLUDE_FROM_ALL SYSTEM)
  foreach(lib gtest gtest_main gmock gmock_main)
    # GoogleTest compiles with its own warning set; the project's -Werror
    # is not imposed on third-party code.
    set_property(TARGET ${lib} PROPERTY COMPILE_OPTIONS "")
    if(NOT TARGET GTest::${lib})
      add_library(GTest::${lib} ALIAS ${lib})
    endif()
  endforeach()
endif()

# --- Wine -------------------------------------------------------------------
# A cross build runs its test programs under Wine, in a prefix of its own
# under the build folder, headless (null graphics driver, no X server).
if(CMAKE_CROSSCOMPILING AND CMAKE_HOST_UNIX)
  find_program(XWTH_WINE wine REQUIRED)
  find_program(XWTH_WINESERVER wineserver REQUIRED)
  set(XWTH_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH
    "Wine prefix the Windows test programs run in")

  # No Mono, no Gecko, and no winedbg: a crashing program must end (and fail
  # its test) instead of waiting for a debugger.
  set(XWTH_WINE_ENVIRONMENT
    "WINEPREFIX=${XWTH_WINEPREFIX}"
    "WINEDEBUG=-all"
    "WINEDLLOVERRIDES=mscoree,mshtml,winedbg.exe="
    "LANG=C.UTF-8"
    "TZ=UTC")
  set(XWTH_WINE_ENVIRONMENT_UNSET
    "DISPLAY=unset:" "WAYLAND_DISPLAY=unset:" "LC_ALL=unset:" "LC_TIME=unset:")

  # Every test program needs the prefix; it is made once (cmake/WinePrefix.cmake
  # keeps a stamp) and the wineserver is stopped after the last program.
  add_test(NAME wine_prefix
    COMMAND ${CMAKE_COMMAND}
      -DWINE=${XWTH_WINE} -DWINESERVER=${XWTH_WINESERVER}
      -DWINEPREFIX=${XWTH_WINEPREFIX}
      -P ${PROJECT_SOURCE_DIR}/cmake/WinePrefix.cmake)
  set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine)
  # wineserver -k fails when the server has already gone on its own.
  add_test(NAME wine_shutdown
    COMMAND sh -c "\"$1\" -k 2>/dev/null; exit 0" sh ${XWTH_WINESERVER})
  set_tests_properties(wine_shutdown PROPERTIES
    FIXTURES_CLEANUP wine
    ENVIRONMENT "WINEPREFIX=${XWTH_WINEPREFIX}")
endif()

# xwth_windows_test(TARGET [ENVIRONMENT VAR=VALUE...])
# Registers a whole GoogleTest program as one test: starting Wine once per
# test case would cost far more than the cases themselves.
function(xwth_windows_test name)
  cmake_parse_arguments(ARG "" "" "ENVIRONMENT" ${ARGN})
  # The main thread gets the 8 MiB stack of a Linux process instead of the
  # PE default of 2 MiB: std::regex matches recursively, one frame per
  # character, and the log tests match lines of several thousand.
  target_link_options(${name} PRIVATE -Wl,--stack,8388608)
  if(CMAKE_CROSSCOMPILING AND CMAKE_HOST_UNIX)
    add_test(NAME ${name} COMMAND ${XWTH_WINE} $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "${XWTH_WINE_ENVIRONMENT};${ARG_ENVIRONMENT}"
      ENVIRONMENT_MODIFICATION "${XWTH_WINE_ENVIRONMENT_UNSET}"
      FIXTURES_REQUIRED wine
      TIMEOUT 600)
  else()
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "${ARG_ENVIRONMENT}"
      TIMEOUT 600)
  endif()
endfunction()
