#!/usr/bin/env bash
# Installs the Debian packages named on the command line that are missing
# (apt-get, as root), and nothing when every one is installed. The package
# lists are downloaded only when they are older than an hour or the install
# needs newer ones, so setup.sh and test.sh in a row download them once.
# Usage: scripts/ensure_packages.sh PACKAGE...
set -euo pipefail

missing=()
for package in "$@"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done
[ "${#missing[@]}" -eq 0 ] && exit 0

echo "ensure_packages: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
install() { apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null; }
fresh_lists=$(find /var/lib/apt/lists -maxdepth 1 -name '*_Packages' -mmin -60 -print -quit 2>/dev/null || true)
[ -n "$fresh_lists" ] || apt-get update -qq
install || { apt-get update -qq && install; }
