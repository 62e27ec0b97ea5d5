# Makes the Wine prefix the Windows test programs run in (cmake -P script).
#
#   cmake -DWINEPREFIX=<dir> [-DWINE=wine] [-DWINESERVER=wineserver] [-DFRESH=ON]
#         -P cmake/WinePrefix.cmake
#
# The prefix is headless: the null graphics driver, so user32 and gdi32 work
# without an X server. "Arial Narrow", which the library's styles name, is
# replaced by the metric-compatible Liberation Sans Narrow. A stamp file marks
# a finished prefix, so the script costs nothing the second time; FRESH=ON
# throws an existing prefix away first.
if(NOT WINEPREFIX)
  message(FATAL_ERROR "WinePrefix.cmake: WINEPREFIX is not set")
endif()
if(NOT WINE)
  set(WINE wine)
endif()
if(NOT WINESERVER)
  set(WINESERVER wineserver)
endif()

set(stamp ${WINEPREFIX}/.xwth-prefix-ready)

set(ENV{WINEPREFIX} ${WINEPREFIX})
set(ENV{WINEDEBUG} -all)
set(ENV{WINEDLLOVERRIDES} "mscoree,mshtml,winedbg.exe=")
set(ENV{LANG} C.UTF-8)
set(ENV{TZ} UTC)
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})
unset(ENV{LC_ALL})

if(FRESH AND EXISTS ${WINEPREFIX})
  execute_process(COMMAND ${WINESERVER} -k OUTPUT_QUIET ERROR_QUIET)
  file(REMOVE_RECURSE ${WINEPREFIX})
endif()
if(EXISTS ${stamp})
  return()
endif()

function(wine_step)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc
    OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "WinePrefix.cmake: '${ARGN}' failed (${rc}):\n${out}")
  endif()
endfunction()

file(MAKE_DIRECTORY ${WINEPREFIX})
wine_step(${WINE} wineboot -i)
wine_step(${WINESERVER} -w)
wine_step(${WINE} reg add "HKCU\\Software\\Wine\\Drivers" /v Graphics /d null /f)
wine_step(${WINE} reg add "HKCU\\Software\\Wine\\Fonts\\Replacements"
  /v "Arial Narrow" /d "Liberation Sans Narrow" /f)
# Let the server write the registry out before the prefix counts as ready.
wine_step(${WINESERVER} -w)
file(TOUCH ${stamp})
