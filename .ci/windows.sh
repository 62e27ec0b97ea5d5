#!/bin/sh
# Windows stage: cross-builds the library, its companions and the test
# programs with mingw-w64 and runs every test program under Wine.
#
#   .ci/windows.sh            build folder build-win/ beside this folder
#   XWTH_WIN_BUILD=<dir> .ci/windows.sh
#
# Runs unattended (CI=true, no stdin, as root or with password-less sudo) on a
# fresh Debian 12 machine: installs what is missing, makes a fresh Wine prefix
# under the build folder, and exits non-zero if any step or test fails.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${XWTH_WIN_BUILD:-$root/build-win}
jobs=${XWTH_JOBS:-2}
prefix=$build/wineprefix

# --- packages -----------------------------------------------------------------
packages="cmake ninja-build g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine64 wine fonts-liberation fonts-wine googletest"
missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
        missing="$missing $p"
    fi
done
if [ -n "$missing" ]; then
    echo "windows.sh: installing$missing"
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo -n"
    fi
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -q </dev/null
    # shellcheck disable=SC2086
    $sudo apt-get install -y -q --no-install-recommends $missing </dev/null
fi

# --- Wine environment -----------------------------------------------------------
# The same settings that the CTest registration gives each test program.
export WINEPREFIX="$prefix"
export WINEDEBUG=-all
# No Mono, no Gecko, no winedbg (a crash ends the program instead of waiting).
export WINEDLLOVERRIDES="mscoree,mshtml,winedbg.exe="
export LANG=C.UTF-8
export TZ=UTC
unset DISPLAY WAYLAND_DISPLAY LC_ALL LC_TIME

stop_wineserver() {
    if [ -d "$prefix" ]; then
        wineserver -k 2>/dev/null || true
    fi
}
trap stop_wineserver EXIT

# --- build ----------------------------------------------------------------------
cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DXWTH_TESTS=ON -DXWTH_BENCH=OFF -DXWTH_FUZZ=OFF -DXWTH_SANITIZE=OFF \
    -DXWTH_WINEPREFIX="$prefix"
cmake --build "$build" -j "$jobs"

# No mingw runtime DLL may be needed beside the programs.
if x86_64-w64-mingw32-objdump -p "$build"/bin/*.dll "$build"/bin/*.exe 2>/dev/null |
        grep -iE 'DLL Name: *(libstdc\+\+|libgcc|libwinpthread)'; then
    echo "windows.sh: a program imports a mingw runtime DLL" >&2
    exit 1
fi

# --- tests ------------------------------------------------------------------------
# A fresh prefix every run; the test fixture finds it ready and only checks.
cmake -DWINEPREFIX="$prefix" -DFRESH=ON -P "$root/cmake/WinePrefix.cmake"
# One program at a time: under Wine every program shares the prefix's WIN.INI
# (the spool directory, the [intl] settings), and Wine rewrites the whole file
# from its own copy, so two programs writing it at once can undo each other.
ctest --test-dir "$build" --output-on-failure -j 1 </dev/null
