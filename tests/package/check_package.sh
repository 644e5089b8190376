#!/usr/bin/env bash
# Makes the .deb from the build folder given, as an operator does, and checks
# what players get: Depends that name the shared libraries and the CJK font,
# the launcher with its notices and README inside, and a launcher that runs
# from the unpacked package.
# Usage: check_package.sh BUILD_DIR
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; exit 1; }
deb=$(echo "$out"/vlmr-launcher_*.deb)
depends=", $(dpkg-deb -f "$deb" Depends),"
for needed in fonts-wqy-microhei libsdl2-2.0-0 libsdl2-ttf-2.0-0 libcurl4 libssl3 libpng16-16 libgif7 \
              libfontconfig1 zlib1g; do
  [[ "$depends" =~ ,\ $needed[\ ,] ]] || { echo "Depends lacks $needed:$depends"; exit 1; }
done
contents=$(dpkg-deb -c "$deb")
for file in usr/lib/vlmr-launcher/vlmr-launcher usr/share/doc/vlmr-launcher/copyright \
            usr/share/doc/vlmr-launcher/README; do
  grep -qE " \./$file\$" <<<"$contents" || { echo "$file is not in the package"; exit 1; }
done
dpkg-deb -x "$deb" "$out/root"
version=$("$out/root/usr/lib/vlmr-launcher/vlmr-launcher" --version)
[ "$version" = "vlmr-launcher $(dpkg-deb -f "$deb" Version)" ] || { echo "the packaged launcher says: $version"; exit 1; }
echo "package ok: $(basename "$deb")"
