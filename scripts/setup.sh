#!/usr/bin/env bash
# One-command set-up for a fresh Debian 12 machine (run as root, or with sudo
# available):
#   scripts/setup.sh demo   install what is missing, build, run `xwth demo`
#   scripts/setup.sh test   install what is missing, build and run the whole
#                           suite: release, ASan+UBSan, a short run of each
#                           fuzz target, and the Windows build under Wine
# Build folders: build/release, build/asan, build/fuzz, build/windows.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$here"
jobs=${XWTH_JOBS:-$(nproc)}

# Installs the Debian packages given that are not installed yet.
install_missing() {
    local missing=()
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        echo "== installing: ${missing[*]}"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
    fi
}

# libicu-dev: month and day names, date patterns and code pages of the
# regional layer. No system locale needs generating: the locale's name is
# read from LC_ALL/LC_TIME/LANG and looked up in ICU's own data.
# FreeType, fontconfig, libpng and the fonts: winport's text and PNG output.
# binutils-mingw-w64-x86-64: windres and ld for the resource-only DLL that
# xwth's sample menu reads its ribbon bitmap from.
build_packages=(cmake ninja-build g++ pkg-config libicu-dev libtiff-dev libfreetype-dev libfontconfig-dev
                libpng-dev fonts-dejavu-core fonts-liberation binutils-mingw-w64-x86-64)
test_packages=(libgtest-dev libgmock-dev libbenchmark-dev libgmime-3.0-dev python3 clang libclang-rt-14-dev
               libpixman-1-dev binutils-mingw-w64-x86-64)

configure_and_build() {  # folder, extra cmake arguments...
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
}

run_suite() {  # folder
    ctest --test-dir "$1" -j "$jobs" --output-on-failure --timeout 600
}

case "${1:-}" in
demo)
    install_missing "${build_packages[@]}"
    configure_and_build build/release -DCMAKE_BUILD_TYPE=Release -DXWTH_TESTS=OFF -DXWTH_BENCH=OFF
    build/release/bin/xwth demo
    ;;
test)
    install_missing "${build_packages[@]}" "${test_packages[@]}"
    echo "== release build"
    configure_and_build build/release -DCMAKE_BUILD_TYPE=Release -DXWTH_TESTS=ON -DXWTH_BENCH=ON
    run_suite build/release
    echo "== ASan+UBSan build"
    configure_and_build build/asan -DCMAKE_BUILD_TYPE=Debug -DXWTH_SANITIZE=ON -DXWTH_BENCH=OFF
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        run_suite build/asan
    echo "== fuzz targets (a bounded, seeded run of each)"
    CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DXWTH_FUZZ=ON \
        -DXWTH_TESTS=OFF -DXWTH_BENCH=OFF >/dev/null
    cmake --build build/fuzz -j "$jobs" --target fuzz_targets
    for target in build/fuzz/bin/*_fuzz; do
        name=$(basename "$target" _fuzz)
        scratch=$(mktemp -d)
        "$target" -seed=1 -runs="${XWTH_FUZZ_RUNS:-20000}" -artifact_prefix="$scratch/" \
            "$scratch" "fuzz/corpus/$name"
        rm -rf "$scratch"
    done
    if [ -x .ci/windows.sh ]; then
        echo "== Windows build under Wine"
        XWTH_WIN_BUILD="$here/build/windows" XWTH_JOBS="$jobs" .ci/windows.sh
    fi
    ;;
*)
    echo "usage: scripts/setup.sh demo|test" >&2
    exit 2
    ;;
esac
