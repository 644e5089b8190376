#!/usr/bin/env bash
# liblzma for the Windows builds, which Debian does not package for MinGW-w64:
# built as a static library from Debian's own xz-utils source package (apt-get
# source, through a deb-src entry added when the system has none) with the
# MinGW-w64 compiler of each triple, into PREFIX_ROOT/<triple>. A triple
# already built is left as it is.
# Usage: scripts/mingw_liblzma.sh PREFIX_ROOT TRIPLE...
set -euo pipefail
root="$1"
shift
missing=()
for triple in "$@"; do
  [ -f "$root/$triple/lib/liblzma.a" ] && [ -f "$root/$triple/include/lzma.h" ] || missing+=("$triple")
done
[ "${#missing[@]}" -eq 0 ] && exit 0

# The source package index: a deb-src entry for this release's main archive.
lists_needed=false
if ! grep -Eqs '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/*; then
  lists_needed=true
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  cat >/etc/apt/sources.list.d/vlmr-debian-src.sources <<SOURCES
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $codename $codename-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
fi
if $lists_needed || ! compgen -G '/var/lib/apt/lists/*_Sources*' >/dev/null; then
  apt-get update -qq
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A stale index (a point release since) is refreshed once.
fetch() { (cd "$work" && apt-get source -qq xz-utils >"$work/fetch.log" 2>&1); }
if ! fetch; then
  apt-get update -qq
  fetch || { cat "$work/fetch.log" >&2; echo "mingw_liblzma: apt-get source xz-utils failed" >&2; exit 1; }
fi
source_dir=$(find "$work" -maxdepth 1 -type d -name 'xz-utils-*' | head -n 1)
[ -n "$source_dir" ] || { echo "mingw_liblzma: apt-get source xz-utils gave no source tree" >&2; exit 1; }

for triple in "${missing[@]}"; do
  echo "mingw_liblzma: building liblzma for $triple"
  build="$work/build-$triple"
  mkdir -p "$build"
  # The library alone: no programs, scripts, documents or translations; one
  # thread, since the launcher decodes its one module at start-up.
  (cd "$build" && "$source_dir/configure" -q --host="$triple" CC="$triple-gcc-posix" AR="$triple-ar" \
    RANLIB="$triple-ranlib" STRIP="$triple-strip" \
    --prefix="$root/$triple" --enable-static --disable-shared --disable-threads \
    --disable-xz --disable-xzdec --disable-lzmadec --disable-lzmainfo --disable-lzma-links \
    --disable-scripts --disable-doc --disable-nls >/dev/null &&
    make -s -j"${VLMR_JOBS:-2}" -C src/liblzma >/dev/null && make -s -C src/liblzma install >/dev/null)
done
