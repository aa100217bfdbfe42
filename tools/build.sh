#!/usr/bin/env bash
# Configures (once) and builds Luma Write into ./build.
#   tools/build.sh        everything: the programs, the tests and the benchmark
#   tools/build.sh run    only what running needs: the three programs
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "run" ]; then
    if [ ! -f build/build.ninja ]; then
        cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DBUILD_TESTING=OFF -DLUMAWRITE_BENCHMARKS=OFF
    fi
    cmake --build build --target lumawrite lumawrite-send virtual-sign
    exit
fi
# A folder that ./run.sh configured first gets the tests and the benchmark turned on.
if [ ! -f build/build.ninja ] || ! grep -q '^BUILD_TESTING:BOOL=ON$' build/CMakeCache.txt ||
    ! grep -q '^LUMAWRITE_BENCHMARKS:BOOL=ON$' build/CMakeCache.txt; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DBUILD_TESTING=ON -DLUMAWRITE_BENCHMARKS=ON
fi
cmake --build build
