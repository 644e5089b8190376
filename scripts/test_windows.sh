#!/usr/bin/env bash
# The Windows builds, from the same sources as the Linux one: the x86-64
# suites built with MinGW-w64 and run under 64-bit Wine (one CTest test per
# suite; their HTTP tests reach the Linux build's http_test_service, so run
# scripts/test.sh's Linux stage first), and the i686 build compiled: every
# layer, the stand-in client and the platform suite (`cmake --build
# build-win32` builds the other suites too, to run wherever 32-bit Wine is
# installed). Both are checked statically: PE images of their machine that
# import system DLLs only.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${VLMR_JOBS:-2}

# The toolchains, zlib and libgcrypt built for MinGW, GoogleTest's sources,
# 64-bit Wine (32-bit Wine cannot be installed on these machines), and
# dpkg-source for the xz-utils source package.
scripts/ensure_packages.sh g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix \
  libz-mingw-w64-dev libgcrypt-mingw-w64-dev googletest wine wine64 file dpkg-dev xvfb xdotool
# liblzma, which Debian does not package for MinGW: built once from Debian's
# xz-utils sources into build-mingw-deps/.
scripts/mingw_liblzma.sh "$PWD/build-mingw-deps" x86_64-w64-mingw32 i686-w64-mingw32

# windows_build DIR TARGET "BUILD_TARGETS" CMAKE_ARGS... (empty BUILD_TARGETS: all)
windows_build() {
  local dir="$1" target="$2" build_targets="$3"; shift 3
  # The warnings that a Release build talks to 127.0.0.1 are no news here.
  cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchains/mingw-w64-$target.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DVLMR_BUILD_TESTS=ON -DVLMR_BUILD_BENCHMARKS=OFF "$@" >/dev/null 2>&1
  # shellcheck disable=SC2086
  cmake --build "$dir" -j"$jobs" ${build_targets:+--target $build_targets}
  scripts/check_windows_images.sh "$target" "$dir"/tests/*.exe "$dir"/tests/*.EXE "$dir"/src/*.dll \
    "$dir"/src/*.exe
}

windows_build build-win64 x86_64 "" -DVLMR_HTTP_TEST_SERVICE="$PWD/build/tests/http_test_service"
# One virtual display for the suites that open windows (the skin's), and one
# Wine prefix for every suite, made before they start side by side.
mkfifo "${display_ready:=$(mktemp -u)}"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_ready" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true; rm -f "$display_ready"' EXIT
read -r display <"$display_ready"
export DISPLAY=:$display
scripts/wine-run.sh cmd /c exit
(cd build-win64 && ctest -V -j"$jobs" --timeout 600 >ctest-wine.log 2>&1) || status=$?
# Each suite's GoogleTest summary, then CTest's.
grep -E '^[0-9]+: \[  (PASSED|FAILED)  \]|^[0-9]+: \[==========\] [0-9]+ tests? from .* ran|tests passed' \
  build-win64/ctest-wine.log
if [ "${status:-0}" -ne 0 ]; then
  grep -E '^[0-9]+: .*(Failure|FAILED|error)' build-win64/ctest-wine.log | head -50 >&2
  echo "test_windows: Windows suites failed; the whole output is in build-win64/ctest-wine.log" >&2
  exit 1
fi

# The launcher itself: vlmr-launcher.exe end to end on a display of its own.
kill "$xvfb_pid" 2>/dev/null || true
scripts/test_windows_launcher.sh build-win64 build

# The launcher, the stand-in client, the suite of the platform layer (whose
# in-memory loader takes i386 images) and the component's (a program carrying
# the module DLL as a resource and exporting the cache functions); the other
# suites could not run here anyway.
windows_build build-win32 i686 "vlmr-launcher stand_in_client platform_tests component_tests"
# The 32-bit launcher end to end too, wherever 32-bit Wine is installed
# (Debian's wine32 package; VLMR_WINE32 names another).
wine32=${VLMR_WINE32:-/usr/lib/wine/wine}
if [ -x "$wine32" ]; then
  WINEPREFIX=${TMPDIR:-/tmp}/vlmr-wine32-$(id -u) VLMR_WINE=$wine32 WINEARCH=win32 \
    scripts/test_windows_launcher.sh build-win32 build
else
  echo "test_windows: no 32-bit Wine ($wine32): the i686 launcher is built and checked, not run"
fi
