#!/usr/bin/env bash
# The in-memory load of a DLL under Wine (64-bit Windows build), timed inside
# the process, with LoadLibrary of the same file beside it. The DLL is the
# loader tests' C++ image (its C and C++ runtimes linked in, about 0.7 MB).
# Usage: scripts/bench_windows_memory_module.sh [REPEATS]
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${VLMR_JOBS:-2}
repeats=${1:-50}

cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchains/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DVLMR_BUILD_TESTS=ON -DVLMR_BUILD_BENCHMARKS=ON >/dev/null 2>&1
cmake --build build-win64 -j"$jobs" --target memory_module_timing platform_tests
image="$PWD/build-win64/tests/memory-module-images/throwing-amd64.dll"
scripts/wine-run.sh build-win64/bench/memory_module_timing.exe "Z:${image//\//\\}" "$repeats" CatchesItsOwnException
