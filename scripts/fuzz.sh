#!/bin/sh
# Runs one fuzz target for a given number of runs from its seed corpus.
#
#   scripts/fuzz.sh TARGET [RUNS] [libFuzzer options...]
#   scripts/fuzz.sh ini 10000000
#
# TARGET is a target's name without "_fuzz" (ini, profile, ...). Builds the
# fuzz targets in build/fuzz with clang first when needed. New inputs found
# go to a scratch folder that is removed at the end, so the checked-in corpus
# stays as it is; a crashing input is kept in build/fuzz/artifacts/.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
target=${1:?usage: scripts/fuzz.sh TARGET [RUNS] [libFuzzer options...]}
runs=${2:-1000000}
shift
[ $# -gt 0 ] && shift

if [ ! -f build/fuzz/build.ninja ]; then
    CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DXWTH_FUZZ=ON \
        -DXWTH_TESTS=OFF -DXWTH_BENCH=OFF >/dev/null
fi
cmake --build build/fuzz -j "${XWTH_JOBS:-2}" --target "${target}_fuzz"

mkdir -p build/fuzz/artifacts
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
corpus="fuzz/corpus/$target"
[ -d "$corpus" ] || corpus=""
# shellcheck disable=SC2086
"build/fuzz/bin/${target}_fuzz" -seed=1 -runs="$runs" -print_final_stats=1 \
    -artifact_prefix="build/fuzz/artifacts/" "$@" "$scratch" $corpus
