#!/usr/bin/env bash
# Builds and runs every test twice: a normal build, then one with
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="$(nproc)"

scripts/check_layers.sh

# What only the tests and benchmarks use: a real Memcached server behind the
# Memcached cache, and memcslap to compare its round trips with.
missing=()
command -v memcached >/dev/null || missing+=(memcached)
command -v memcslap >/dev/null || missing+=(libmemcached-tools)
if [ "${#missing[@]}" -gt 0 ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# run_suite BUILD_DIR "CTEST_ARGS" CMAKE_ARGS...
run_suite() {
  local dir="$1" ctest_args="$2"; shift 2
  cmake -S . -B "$dir" "$@" -DVLMR_BUILD_BENCHMARKS=OFF >/dev/null
  cmake --build "$dir" -j"$jobs"
  # shellcheck disable=SC2086
  (cd "$dir" && ctest --output-on-failure -j"$jobs" --timeout 300 $ctest_args)
}

run_suite build "" -DCMAKE_BUILD_TYPE=RelWithDebInfo
# The file over 4 GiB takes minutes under the sanitizers: the normal run has it.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1 \
  run_suite build-sanitize "--label-exclude large" -DCMAKE_BUILD_TYPE=Debug -DVLMR_SANITIZE=ON
