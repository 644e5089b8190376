#!/usr/bin/env bash
# The launcher's main job on its built-in default: a demo game folder with a
# stand-in client, the update server on 127.0.0.1:8640 serving demo files and
# a manifest built from them, and the launcher window. Press the start button:
# the files download with the progress bar moving, then the stand-in client
# starts and prints its command line.
#
# Without a display the window runs on a virtual display (Xvfb) and the demo
# presses start itself, then reports what happened.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${VLMR_BUILD:-$root/build}
launcher=$build/src/vlmr-launcher
server_bin=$build/tools/update_server/update_server
builder=$build/tools/manifest_builder/manifest_builder
for tool in "$launcher" "$server_bin" "$builder"; do
  [ -x "$tool" ] || { echo "demo: $tool is missing; run scripts/setup.sh first" >&2; exit 1; }
done

demo=$root/demo
game=$demo/game
files=$demo/server/files
rm -rf "$demo"
mkdir -p "$game/Lanternfall/DAC_VLMR" "$files/Lanternfall/DAC_VLMR" "$files/data"

# What the update server delivers.
head -c 48M /dev/urandom >"$files/data/world.pak"
head -c 16M /dev/urandom >"$files/data/music.pak"
printf 'old damage numbers\n' >"$files/Lanternfall/DAC_VLMR/0009.old"
printf 'new damage numbers\n' >"$files/Lanternfall/DAC_VLMR/0009.new"
"$builder" build "$files" http://127.0.0.1:8640/files -o "$demo/server/Updateini2.ini"

# The game folder: the launcher, a stale file, the client's configuration and
# a stand-in for the Windows client that says how it was started.
cp "$launcher" "$game/"
printf 'an outdated world\n' >"$game/Lanternfall/DAC_VLMR/0009.d2a"
printf '[CLIENT]\r\nSCREEN_WIDTH\t640\r\nSCREEN_HEIGHT\t480\r\nLANGUAGE\tzh-CN\r\n' >"$game/Corvane.INI"
cat >"$game/CorvaneQXT.EXE" <<'CLIENT'
#!/bin/sh
# Stand-in for the game client: records and prints how the launcher started it.
printf '%s\n' "$*" >"$(dirname "$0")/client-started.txt"
echo "CorvaneQXT.EXE (stand-in client) started with: $*" >&2
CLIENT
chmod +x "$game/CorvaneQXT.EXE"

"$server_bin" --host 127.0.0.1 --port 8640 --rate 12000 "$demo/server" &
server_pid=$!
trap 'kill $server_pid 2>/dev/null || true' EXIT
sleep 0.3
kill -0 "$server_pid" 2>/dev/null || { echo "demo: the update server could not start (is port 8640 in use?)" >&2; exit 1; }

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "demo: the launcher window opens; press 开始游戏 (start). Close the window to end the demo."
  "$game/vlmr-launcher"
  exit 0
fi

if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
  echo "demo: there is no display (DISPLAY is not set) and Xvfb or xdotool is missing," >&2
  echo "demo: so the window cannot be shown. Run this on a desktop, or install xvfb and xdotool." >&2
  exit 1
fi

echo "demo: no display: running the launcher on a virtual display (Xvfb) and pressing start"
Xvfb :47 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $server_pid $xvfb_pid 2>/dev/null || true' EXIT
export DISPLAY=:47
sleep 0.5
"$game/vlmr-launcher" &
launcher_pid=$!
window=""
for _ in $(seq 50); do
  window=$(xdotool search --name 'Vellmoor' 2>/dev/null | head -1) && [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { echo "demo: the launcher window did not appear" >&2; exit 1; }
touch "$demo/pressed"
xdotool mousemove --window "$window" 639 450 click 1   # the start button
for _ in $(seq 300); do
  [ -f "$game/client-started.txt" ] && break
  sleep 0.2
done
xdotool mousemove --window "$window" 659 13 click 1    # the close button
wait "$launcher_pid" || true

if [ -f "$game/client-started.txt" ]; then
  echo "demo: files the launcher wrote after start was pressed:"
  (cd "$game" && find . -type f -newer "$demo/pressed" ! -name 'client-started.txt' | sort | sed 's/^/  /')
  echo "demo: the client was started with: $(cat "$game/client-started.txt")"
  echo "demo: Corvane.INI now reads:"; tr -d '\r' <"$game/Corvane.INI" | sed 's/^/  /'
else
  echo "demo: the client was not started" >&2
  exit 1
fi
