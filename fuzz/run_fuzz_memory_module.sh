#!/usr/bin/env bash
# Builds the in-memory loader's fuzz target with clang (libFuzzer + ASan) and
# runs it for a bounded time, seeded with the loader's test DLLs (built here
# with MinGW-w64). Usage: fuzz/run_fuzz_memory_module.sh [SECONDS] [BUILD_DIR]
# Needs clang, libclang-rt-dev and the MinGW-w64 C compilers.
set -euo pipefail
seconds="${1:-300}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${2:-$root/build-fuzz}"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVLMR_FUZZ=ON -DVLMR_BUILD_TESTS=OFF -DVLMR_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j2 --target fuzz_memory_module

corpus="$build/fuzz-corpus/memory_module"
images="$root/tests/memory_module_images"
mkdir -p "$corpus"
# seed MACHINE_BYTE COMPILER ENTRY: the test image, behind the machine byte
seed() {
  local dll="$build/fuzz-seed-$1.dll"
  "$2" -O1 -s -shared -nostdlib -e "$3" -Wl,--image-base,0x10000000 -Wl,--enable-stdcall-fixup \
    "$images/test_image.c" "$images/test_image.def" -lkernel32 -o "$dll"
  { printf "\\x$1"; cat "$dll"; } >"$corpus/image-$1"
}
seed 00 x86_64-w64-mingw32-gcc-posix DllMain
seed 01 i686-w64-mingw32-gcc-posix _DllMain@12
"$build/fuzz/fuzz_memory_module" "$corpus" -max_total_time="$seconds" -max_len=8192 \
  -print_final_stats=1 -artifact_prefix="$build/fuzz-memory-module-"
