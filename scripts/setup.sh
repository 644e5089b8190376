#!/usr/bin/env bash
# Takes a fresh Debian 12 machine (as root) to a built launcher: installs every
# package the build, the tests and the demo need, then builds into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake pkg-config git ca-certificates curl
  libsdl2-dev libsdl2-ttf-dev libpng-dev libgif-dev zlib1g-dev liblzma-dev
  libcurl4-openssl-dev libssl-dev libgcrypt20-dev libfontconfig-dev fonts-wqy-microhei libmemcached-dev
  libgtest-dev libgmock-dev libbenchmark-dev libcpp-httplib-dev
  xdg-utils xvfb xauth xdotool
)
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${packages[@]}"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
echo "setup: built build/src/vlmr-launcher"
