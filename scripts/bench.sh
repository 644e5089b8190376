#!/usr/bin/env bash
# Builds the benchmarks in Release (build-rel/, always rebuilt from the
# current sources, so a result never comes from a stale binary) and runs one.
# Usage: scripts/bench.sh [BENCH [ARGS...]]   (no BENCH: lists them)
#   scripts/bench.sh bench_file_md5 --benchmark_repetitions=3
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${VLMR_JOBS:-2}

scripts/ensure_packages.sh libbenchmark-dev curl  # curl: bench_download compares with it
# Its warning that a Release build talks to 127.0.0.1 is no news here: shown only on failure.
configured=$(cmake -S . -B build-rel -DCMAKE_BUILD_TYPE=Release -DVLMR_BUILD_TESTS=OFF \
  -DVLMR_BUILD_BENCHMARKS=ON 2>&1) || { echo "$configured" >&2; exit 1; }
if [ $# -eq 0 ]; then
  echo "bench: the benchmarks (scripts/bench.sh NAME [ARGS...] builds and runs one):"
  (cd bench && ls bench_*.cpp | sed 's/\.cpp$//; s/^/  /')
  exit 0
fi
bench=$1; shift
cmake --build build-rel -j"$jobs" --target "$bench"
exec "build-rel/bench/$bench" "$@"
