#!/usr/bin/env bash
# Installs what only the tests need, then builds and runs every test twice: a
# normal build (build/, shared with scripts/setup.sh), then one with
# AddressSanitizer and UndefinedBehaviorSanitizer (build-sanitize/); then the
# Windows builds and their suites under Wine (scripts/test_windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${VLMR_JOBS:-2}

# GoogleTest, the HTTP server library of the tests' server, nginx (the update
# run against the operators' configuration), and what cpack needs to make
# the .deb. The window tests run on SDL's offscreen driver: no display needed.
scripts/ensure_packages.sh libgtest-dev libgmock-dev libcpp-httplib-dev nginx-light dpkg-dev file
# The Windows toolchains and Wine before the Linux build too: it builds the
# Windows stand-in client and the in-memory loader's test DLLs with them, and
# starts the stand-in through the real Wine.
scripts/ensure_packages.sh g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64

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
  cmake -S . -B "$dir" "$@" -DVLMR_BUILD_TESTS=ON -DVLMR_BUILD_BENCHMARKS=OFF >/dev/null
  cmake --build "$dir" -j"$jobs"
  # shellcheck disable=SC2086
  (cd "$dir" && ctest --output-on-failure -j"$jobs" --timeout 300 $ctest_args)
  echo "test: $dir done at $((SECONDS / 60)) min $((SECONDS % 60)) s"
}

run_suite build "" -DCMAKE_BUILD_TYPE=RelWithDebInfo
# The file over 4 GiB takes minutes under the sanitizers, and the package is
# made from the normal build: the normal run has them.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1 \
  run_suite build-sanitize "--label-exclude large|package" -DCMAKE_BUILD_TYPE=Debug -DVLMR_SANITIZE=ON
scripts/test_windows.sh
echo "test: Windows builds and suites done at $((SECONDS / 60)) min $((SECONDS % 60)) s"
