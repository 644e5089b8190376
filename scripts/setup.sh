#!/usr/bin/env bash
# Takes a fresh Debian 12 machine (as root) to what the demo needs: the
# packages to build and run the launcher and the operator tools, and the
# virtual display and picture tools the demo uses without a desktop; then
# builds the launcher, update_server and manifest_builder into build/. The
# tests and benchmarks are left to scripts/test.sh and scripts/bench.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${VLMR_JOBS:-2}

build_packages=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-ttf-dev libpng-dev libgif-dev zlib1g-dev liblzma-dev
  libcurl4-openssl-dev libssl-dev libgcrypt20-dev libfontconfig-dev libcpp-httplib-dev libmemcached-dev
)
# The launcher at run time: its CJK font and the opener of web pages.
run_packages=(fonts-wqy-microhei xdg-utils)
# The demo without a desktop: a virtual display, clicks, window pictures.
demo_packages=(xvfb xauth xdotool scrot)
scripts/ensure_packages.sh "${build_packages[@]}" "${run_packages[@]}" "${demo_packages[@]}"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVLMR_BUILD_TESTS=OFF -DVLMR_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build -j"$jobs" --target vlmr-launcher update_server manifest_builder
echo "setup: built build/src/vlmr-launcher and the operator tools in build/tools/"
