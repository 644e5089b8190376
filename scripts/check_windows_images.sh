#!/usr/bin/env bash
# Checks Windows executables statically: each is a PE image of the expected
# machine (x86-64: PE32+, i686: PE32 Intel 80386) and imports system DLLs
# only, so it runs with no MinGW runtime DLL (libstdc++, libgcc,
# libwinpthread, zlib, libgcrypt) beside it.
# Usage: scripts/check_windows_images.sh x86_64|i686 EXE...
set -euo pipefail
arch="$1"
shift
case "$arch" in
  x86_64) format='^PE32\+ executable .* x86-64' ;;
  i686) format='^PE32 executable .* Intel 80386' ;;
  *) echo "check_windows_images: unknown target $arch" >&2; exit 2 ;;
esac
system_dlls='^(kernel32|user32|gdi32|gdiplus|advapi32|shell32|shlwapi|ole32|oleaut32|comctl32|comdlg32|msvcrt|ws2_32|bcrypt|wininet|cryptdll|crypt32|ntdll|version|winmm|imm32)\.dll$'
failed=0
for image in "$@"; do
  description=$(file -b "$image")
  imports=$("$arch-w64-mingw32-objdump" -p "$image" 2>/dev/null | awk '/DLL Name:/ {print $3}' | sort -u | tr '\n' ' ' || true)
  if ! grep -Eq "$format" <<<"$description"; then
    echo "check_windows_images: $image is not a $arch image: $description" >&2
    failed=1
  fi
  for dll in $imports; do
    if ! grep -Eqi "$system_dlls" <<<"$dll"; then
      echo "check_windows_images: $image imports $dll, which is not a system DLL" >&2
      failed=1
    fi
  done
  echo "$(basename "$image"): ${description%%,*}, imports $imports"
done
exit "$failed"
