#!/bin/sh
# Runs a Windows program under Wine with a prefix of its own, made without
# prompts on first use (no Mono or Gecko installers). VLMR_WINE names another
# Wine (32-bit builds need one with 32-bit support); the default is Debian's
# 64-bit wine64.
: "${WINEPREFIX:=${TMPDIR:-/tmp}/vlmr-wine-$(id -u)}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
wine="${VLMR_WINE:-/usr/lib/wine/wine64}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  "$wine" wineboot -i >/dev/null 2>&1
fi
exec "$wine" "$@"
