# Cross build for 64-bit Windows with mingw-w64 (Debian: g++-mingw-w64-x86-64).
#
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake
#
# The posix-thread flavour of the compiler is used because it has std::thread
# and std::mutex. Its runtime (libgcc, libstdc++, winpthread) is linked
# statically into every DLL and EXE, so a build folder's bin/ runs on Windows
# (or under Wine) with nothing but the system DLLs beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(XWTH_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${XWTH_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${XWTH_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${XWTH_MINGW_PREFIX}-windres)
set(CMAKE_AR ${XWTH_MINGW_PREFIX}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${XWTH_MINGW_PREFIX}-ranlib CACHE FILEPATH "")

# Headers and libraries of the target only; programs of the host.
set(CMAKE_FIND_ROOT_PATH /usr/${XWTH_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run under Wine on the build host.
find_program(XWTH_WINE wine)
if(XWTH_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${XWTH_WINE})
endif()

# Large test and framework objects exceed the default COFF section count.
set(CMAKE_C_FLAGS_INIT "-Wa,-mbig-obj")
set(CMAKE_CXX_FLAGS_INIT "-Wa,-mbig-obj")

# -static picks libwinpthread.a over its import library; the Win32 system
# libraries are import libraries either way, and the project's own DLLs are
# linked through their import libraries (*.dll.a), which -static accepts.
set(XWTH_MINGW_RUNTIME "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${XWTH_MINGW_RUNTIME}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${XWTH_MINGW_RUNTIME}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${XWTH_MINGW_RUNTIME}")
