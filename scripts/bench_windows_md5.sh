#!/usr/bin/env bash
# FileMd5 of the 64-bit Windows build under Wine, timed inside the process,
# against md5sum on Linux over the same 1 GiB file (in the page cache for
# both); prints both throughputs and the ratio. Builds file_md5_timing in
# build-win64/ (the Windows suites' build folder).
# Usage: scripts/bench_windows_md5.sh [REPEATS]
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${VLMR_JOBS:-2}
repeats=${1:-3}

cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchains/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DVLMR_BUILD_BENCHMARKS=ON >/dev/null 2>&1
cmake --build build-win64 -j"$jobs" --target file_md5_timing

file=$(mktemp "${TMPDIR:-/tmp}/vlmr-md5-XXXXXX.bin")
trap 'rm -f "$file"' EXIT
head -c $((1 << 30)) /dev/urandom >"$file"
md5sum "$file" >/dev/null  # into the page cache

best_md5sum=0
for _ in $(seq "$repeats"); do
  start=$(date +%s.%N)
  md5sum "$file" >/dev/null
  end=$(date +%s.%N)
  best_md5sum=$(echo "$best_md5sum $start $end" | awk '{r = 1073.741824 / ($3 - $2); print (r > $1 ? r : $1)}')
done
expected=$(md5sum "$file" | cut -c1-32 | tr a-f A-F)

read -r digest ours < <(scripts/wine-run.sh build-win64/bench/file_md5_timing.exe "Z:${file//\//\\}" "$repeats")
[ "$digest" = "$expected" ] || { echo "bench_windows_md5: FileMd5 gave $digest, md5sum $expected" >&2; exit 1; }
awk -v ours="$ours" -v theirs="$best_md5sum" 'BEGIN {
  printf "FileMd5 (Windows x86-64 under Wine): %.0f MB/s\nmd5sum (Linux): %.0f MB/s\nratio: %.2f\n", ours, theirs, ours / theirs }'
